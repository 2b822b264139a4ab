{ Pkg_Zul00500: card payments for the point of sale. The declarations of the
  package's C interface (include/Pkg_Zul00500.h) for Delphi and Free Pascal
  hosts, one to one: the same names, parameters in the same order.

  Text is code page 1252 (AnsiString / PAnsiChar). A string passed by
  reference is a buffer and its capacity in bytes, the terminating #0
  included; the ZUL_*_CAPACITY constants hold the longest value of each.
  Results: 1 true, 0 false, -1 an error (zul_LastErrorCode and ZulLastError
  tell which). Callbacks get back the User pointer given with them; a
  negative result is the host's failure. Everything runs on the host's
  user-interface thread. The reference (share/doc/zul00500/html, doc\html in
  the Windows zip) documents every routine.

  DoTEF refills the list its Receipts variable holds: set it to nil before
  the first payment, pass the same variable to every payment, and free it
  once with zul_ListFree. }
unit Pkg_Zul00500;

{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}

interface

const
{$IFDEF MSWINDOWS}
  ZulLibrary = 'Pkg_Zul00500.dll';
{$ELSE}
  ZulLibrary = 'Pkg_Zul00500';
{$ENDIF}

  ZUL_VERSION_MAJOR = 0;
  ZUL_VERSION_MINOR = 1;
  ZUL_VERSION_PATCH = 0;
  { The version this unit was written for; compare zul_VersionNumber at load. }
  ZUL_VERSION_NUMBER = ZUL_VERSION_MAJOR * 10000 + ZUL_VERSION_MINOR * 100 + ZUL_VERSION_PATCH;
  { 1 in a released package's unit, 0 between releases. }
  ZUL_RELEASE = 0;

  ZUL_TRUE = 1;
  ZUL_FALSE = 0;
  ZUL_ERROR = -1;

  { zul_LastErrorCode: below 100 with a -1 result, from 100 a note after a success. }
  ZUL_OK = 0;
  ZUL_E_FILE = 1;
  ZUL_E_FILE_BUSY = 2;
  ZUL_E_NUMBER = 3;
  ZUL_E_DATASET = 4;
  ZUL_E_ARGUMENT = 5;
  ZUL_E_CALLBACK = 6;
  ZUL_E_NO_PRINTER_PROC = 7;
  ZUL_E_MEMORY = 8;
  ZUL_E_OTHER = 9;
  ZUL_E_REENTRANT = 10;
  ZUL_E_PENDING_SALE = 11;
  ZUL_NOTE_TRUNCATED = 100;
  ZUL_NOTE_TILL_BUSY = 101;
  ZUL_NOTE_PROBLEM = 102;
  ZUL_NOTE_PENDING_SALE = 103;
  ZUL_NOTE_WITHDRAWN = 104;
  ZUL_NOTE_UNREADABLE = 105;

  { zul_LastOutcome: what the manager, the network or the operator decided,
    beside the 1 or 0 of a routine that talks to a manager. }
  ZUL_OUTCOME_NONE = 200;
  ZUL_OUTCOME_DONE = 201;
  ZUL_OUTCOME_APPROVED = 202;
  ZUL_OUTCOME_APPROVED_NO_RECEIPT = 203;
  ZUL_OUTCOME_REFUSED = 204;
  ZUL_OUTCOME_MANAGER_ERROR = 205;
  ZUL_OUTCOME_NOT_ACTIVE = 206;
  ZUL_OUTCOME_NO_DIRECTORY = 207;
  ZUL_OUTCOME_OPERATOR_STOPPED = 208;
  ZUL_OUTCOME_NETWORK_CLOSED = 209;
  ZUL_OUTCOME_TILL_BUSY = 210;
  ZUL_OUTCOME_CANCEL_APPROVED = 211;
  ZUL_OUTCOME_CANCEL_REFUSED = 212;
  ZUL_OUTCOME_WITHDRAWN = 213;
  ZUL_OUTCOME_NOT_PRINTED = 214;

  { zul_SalePayment's Standing. }
  ZUL_PAYMENT_OPEN = 0;
  ZUL_PAYMENT_CONFIRMED = 1;
  ZUL_PAYMENT_UNDONE = 2;

  ZUL_ROOT_CAPACITY = 16;
  ZUL_CHOICE_CAPACITY = 2;
  ZUL_SEQUENCE_CAPACITY = 11;
  ZUL_F748_CAPACITY = 11;
  ZUL_F027_CAPACITY = 12;
  ZUL_FIELD_CAPACITY = 256;
  ZUL_PATH_CAPACITY = 1024;

type
  ZulList = Pointer;

  TZulPrinterProc1 = function(User: Pointer; A1: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulPrinterProc2 = function(User: Pointer; A1, A2: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulPrinterProc3 = function(User: Pointer; A1, A2, A3: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulPrinterProc4 = function(User: Pointer; A1, A2, A3, A4: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulPrinterProc5 = function(User: Pointer; A1, A2, A3, A4, A5: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulDialogProc = function(User: Pointer; Text, S2, S3, YesNo: PAnsiChar; Kind: Integer; S6,
    Context: PAnsiChar; WithReceipt: Integer; DataSet: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulTranslateProc = function(User: Pointer; Name, Text, Buffer: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulMessageTextProc = function(User: Pointer; Key, TableText, Buffer: PAnsiChar;
    Capacity: Integer): Integer; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulNetworkChooserProc = function(User: Pointer; Caption: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulMessagePumpProc = function(User: Pointer; Wait: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFileObserverProc = function(User: Pointer; Operation, Path, ToPath, Bytes: PAnsiChar; ByteCount: Integer;
    MonotonicMs: Double): Integer; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};

{ The package's routines. DoTef, the same routine as DoTEF under its plain
  name, is the same identifier as DoTEF in Pascal: DoTEF serves for both. }

function DoTEF(Context: PAnsiChar; Amount, AmountDue: Double; Kind: PAnsiChar; var Receipts: ZulList;
  var ApprovedCount, TransactionNumber: Integer; var ExtraAmount: Double; DocumentNumber: PAnsiChar;
  DocumentNumberCapacity: Integer; Field748: PAnsiChar; Field748Capacity: Integer; Field013: PAnsiChar;
  Field013Capacity: Integer; Field027: PAnsiChar; Field027Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'DoTEF';
function CheckGPAtivo(Operation, Sequence: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'CheckGPAtivo';
function VerificaRetorno(Context: PAnsiChar; Answer: ZulList; NotConfirm: Integer; Unused: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'VerificaRetorno';
function CheckIntPosFiles(Context: PAnsiChar; NotConfirm: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'CheckIntPosFiles';
function GetSequence(Sequence: PAnsiChar; SequenceCapacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'GetSequence';
function NewIntPosFileName(Directory, Path: PAnsiChar; PathCapacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'NewIntPosFileName';
function DeleteIntPosFiles(Directory, Sequence: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'DeleteIntPosFiles';
function ImprCupons(Receipts: ZulList; ReceiptCount, TransactionCount, PrinterType: Integer;
  Voucher1, Voucher2, Context, Report1, Report2, CopyChoice, Mode, Standard2, Standard1: PAnsiChar;
  Amount: Double): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'ImprCupons';
function zul_SalePayment(Index: Integer; var Standing, Printed: Integer; Answer: ZulList): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SalePayment';
function ImprCupom(Report1, Report2, Context, CopyChoice: PAnsiChar; Answer: ZulList;
  FrameworkCopies, TransactionCount, PrinterType, OwnDocument, SkipSaved: Integer;
  Mode, Standard2, Standard1: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'ImprCupom';
function ImprCupom_FrameWork(Report1, Report2, Context, CopyChoice: PAnsiChar; Answer: ZulList;
  Copies, TransactionCount, PrinterType, OwnDocument, SkipSaved: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'ImprCupom_FrameWork';
function ImprCupomRG_FrameWork(Report1, Report2, Context: PAnsiChar; Answer: ZulList;
  Copies, TransactionCount, PrinterType, OwnDocument, SkipSaved: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'ImprCupomRG_FrameWork';
function CancelaTEF(Report1, Report2, Context, CopyChoice: PAnsiChar;
  Position, TransactionCount, PrinterType: Integer; PendingSequence, Unused, Amount, Network,
  DocumentNumber, Field022, Field023, Mode, Standard2, Standard1: PAnsiChar;
  PrintAndConfirm: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'CancelaTEF';
function CancelaTEFs(Unused: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'CancelaTEFs';
function CancelaPendencia(Report1, Report2, Context, Unused: PAnsiChar;
  TransactionCount, PrinterType: Integer; Mode, Standard2, Standard1: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'CancelaPendencia';
function TipoRede(Kind, Choice: PAnsiChar; ChoiceCapacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'TipoRede';
function CheckDirTef(Root: PAnsiChar; RootCapacity: Integer; Kind: PAnsiChar; PrinterType: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'CheckDirTef';
function LogCartao(Message: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'LogCartao';
function DetectaFuncao(LibraryName, FunctionName: PAnsiChar; var Address: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'DetectaFuncao';
function BloqueiaTeclado: Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'BloqueiaTeclado';
function DesbloqueiaTeclado: Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'DesbloqueiaTeclado';
function Initialize: Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'Initialize';
function Finalize: Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'Finalize';

{ Helpers }

function zul_Version(Value: PAnsiChar; Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_Version';
function zul_VersionNumber: Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_VersionNumber';
function zul_LastError(Value: PAnsiChar; Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_LastError';
function zul_LastErrorCode: Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_LastErrorCode';
function zul_ErrorName(Code: Integer): PAnsiChar;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ErrorName';
function zul_LastOutcome(NetworkCode: PAnsiChar; Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_LastOutcome';
function zul_ListNew: ZulList;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListNew';
function zul_ListFree(List: ZulList): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListFree';
function zul_ListCount(List: ZulList): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListCount';
function zul_ListGet(List: ZulList; Index: Integer; Value: PAnsiChar; Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListGet';
function zul_ListAdd(List: ZulList; Line: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListAdd';
function zul_ListClear(List: ZulList): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListClear';
function zul_ListText(List: ZulList; Value: PAnsiChar; Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListText';
function zul_ListSetText(List: ZulList; Text: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListSetText';
function zul_ListLoadFromFile(List: ZulList; Path: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListLoadFromFile';
function zul_ListSaveToFile(List: ZulList; Path: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_ListSaveToFile';
function zul_GetStr(Name, Value: PAnsiChar; Capacity: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_GetStr';
function zul_SetStr(Name, Value: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetStr';
function zul_GetInt(Name: PAnsiChar; var Value: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_GetInt';
function zul_SetInt(Name: PAnsiChar; Value: Integer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetInt';
function zul_GetFloat(Name: PAnsiChar; var Value: Double): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_GetFloat';
function zul_SetFloat(Name: PAnsiChar; Value: Double): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetFloat';
function zul_GetList(Name: PAnsiChar): ZulList;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_GetList';
{ One setter per procedure type: a procedure of the wrong type does not compile. }
function zul_SetPrinterProc1(Name: PAnsiChar; Fn: TZulPrinterProc1; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetPrinterProc1';
function zul_SetPrinterProc2(Name: PAnsiChar; Fn: TZulPrinterProc2; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetPrinterProc2';
function zul_SetPrinterProc3(Name: PAnsiChar; Fn: TZulPrinterProc3; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetPrinterProc3';
function zul_SetPrinterProc4(Name: PAnsiChar; Fn: TZulPrinterProc4; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetPrinterProc4';
function zul_SetPrinterProc5(Name: PAnsiChar; Fn: TZulPrinterProc5; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetPrinterProc5';
function zul_SetPrinterProc(Name: PAnsiChar; Fn, User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetPrinterProc';
  deprecated 'use zul_SetPrinterProc1 to zul_SetPrinterProc5';
function zul_SetDialog(Fn: TZulDialogProc; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetDialog';
function zul_SetTranslate(Fn: TZulTranslateProc; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetTranslate';
function zul_SetMessageText(Fn: TZulMessageTextProc; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetMessageText';
function zul_SetNetworkChooser(Fn: TZulNetworkChooserProc; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetNetworkChooser';
function zul_SetMessagePump(Fn: TZulMessagePumpProc; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetMessagePump';
function zul_SetFileObserver(Fn: TZulFileObserverProc; User: Pointer): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetFileObserver';
function zul_SetDriveRoot(Folder: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetDriveRoot';
function zul_SetHostDirectory(Directory: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_SetHostDirectory';
function zul_DescribeDataSet(Path: PAnsiChar; Lines: ZulList): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF}; external ZulLibrary name 'zul_DescribeDataSet';

{ The last error as a string. }
function ZulLastError: AnsiString;

implementation

function ZulLastError: AnsiString;
var
  Length: Integer;
begin
  Length := zul_LastError(nil, 0);
  SetLength(Result, Length);
  if Length > 0 then
    zul_LastError(PAnsiChar(Result), Length + 1);
end;

end.
