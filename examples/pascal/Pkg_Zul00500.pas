{ Pkg_Zul00500: card payments for the point of sale. The declarations of the
  package's C interface (include/Pkg_Zul00500.h) for Delphi and Free Pascal
  hosts, one to one: the same names, parameters in the same order. The
  routines are bound by external declarations; with ZUL_RUNTIME_LOADING
  defined they are variables that ZulLoad fills at run time instead (the
  host guide's first rule), and TZulFn_ + a routine's name is its type.

  Text is code page 1252 (AnsiString / PAnsiChar). A string passed by
  reference is a buffer and its capacity in bytes, the terminating #0
  included; the ZUL_*_CAPACITY constants hold the longest value of each.
  Results: 1 true, 0 false, -1 an error (zul_LastErrorCode and ZulLastError
  tell which). Callbacks get back the User pointer given with them; a
  negative result is the host's failure. Everything runs on the host's
  user-interface thread. The reference (share/doc/zul00500/html, doc\html in
  the Windows zip) documents every routine.

  Every DoTEF puts a new list into its Receipts variable, the host's from
  then on; the list the variable held before is not freed, and stays as it
  was. Free each list with zul_ListFree once it is no longer needed (the
  earlier payment's before the next payment, the last after printing). }
unit Pkg_Zul00500;

{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}

interface

const
{$IFDEF MSWINDOWS}
  ZulLibrary = 'Pkg_Zul00500.dll';
  { The file ZulLoad loads when given no path. }
  ZulLibraryFile = 'Pkg_Zul00500.dll';
{$ELSE}
  ZulLibrary = 'Pkg_Zul00500';
  ZulLibraryFile = 'libPkg_Zul00500.so';
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

{ The routines' types, TZulFn_ and the routine's name, as the header's ZulFn_
  types: for a host that finds the routines itself. }
  TZulFn_DoTEF = function(Context: PAnsiChar; Amount, AmountDue: Double; Kind: PAnsiChar;
    var Receipts: ZulList; var ApprovedCount, TransactionNumber: Integer; var ExtraAmount: Double;
    DocumentNumber: PAnsiChar; DocumentNumberCapacity: Integer; Field748: PAnsiChar;
    Field748Capacity: Integer; Field013: PAnsiChar; Field013Capacity: Integer; Field027: PAnsiChar;
    Field027Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_CheckGPAtivo = function(Operation, Sequence: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_VerificaRetorno = function(Context: PAnsiChar; Answer: ZulList; NotConfirm: Integer;
    Unused: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_CheckIntPosFiles = function(Context: PAnsiChar; NotConfirm: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_GetSequence = function(Sequence: PAnsiChar; SequenceCapacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_NewIntPosFileName = function(Directory, Path: PAnsiChar; PathCapacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_DeleteIntPosFiles = function(Directory, Sequence: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_ImprCupons = function(Receipts: ZulList; ReceiptCount, TransactionCount, PrinterType: Integer;
    Voucher1, Voucher2, Context, Report1, Report2, CopyChoice, Mode, Standard2, Standard1: PAnsiChar;
    Amount: Double): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SalePayment = function(Index: Integer; var Standing, Printed: Integer; Answer: ZulList): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_ImprCupom = function(Report1, Report2, Context, CopyChoice: PAnsiChar; Answer: ZulList;
    FrameworkCopies, TransactionCount, PrinterType, OwnDocument, SkipSaved: Integer;
    Mode, Standard2, Standard1: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_ImprCupom_FrameWork = function(Report1, Report2, Context, CopyChoice: PAnsiChar; Answer: ZulList;
    Copies, TransactionCount, PrinterType, OwnDocument, SkipSaved: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_ImprCupomRG_FrameWork = function(Report1, Report2, Context: PAnsiChar; Answer: ZulList;
    Copies, TransactionCount, PrinterType, OwnDocument, SkipSaved: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_CancelaTEF = function(Report1, Report2, Context, CopyChoice: PAnsiChar;
    Position, TransactionCount, PrinterType: Integer;
    PendingSequence, Unused, Amount, Network, DocumentNumber, Field022, Field023, Mode, Standard2, Standard1: PAnsiChar;
    PrintAndConfirm: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_CancelaTEFs = function(Unused: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_CancelaPendencia = function(Report1, Report2, Context, Unused: PAnsiChar;
    TransactionCount, PrinterType: Integer; Mode, Standard2, Standard1: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_TipoRede = function(Kind, Choice: PAnsiChar; ChoiceCapacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_CheckDirTef = function(Root: PAnsiChar; RootCapacity: Integer; Kind: PAnsiChar;
    PrinterType: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_LogCartao = function(Message: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_DetectaFuncao = function(LibraryName, FunctionName: PAnsiChar; var Address: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_BloqueiaTeclado = function: Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_DesbloqueiaTeclado = function: Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_Initialize = function: Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_Finalize = function: Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_Version = function(Value: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_VersionNumber = function: Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_LastError = function(Value: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_LastErrorCode = function: Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ErrorName = function(Code: Integer): PAnsiChar;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_LastOutcome = function(NetworkCode: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListNew = function: ZulList;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListFree = function(List: ZulList): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListCount = function(List: ZulList): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListGet = function(List: ZulList; Index: Integer; Value: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListAdd = function(List: ZulList; Line: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListClear = function(List: ZulList): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListText = function(List: ZulList; Value: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListSetText = function(List: ZulList; Text: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListLoadFromFile = function(List: ZulList; Path: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_ListSaveToFile = function(List: ZulList; Path: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_GetStr = function(Name, Value: PAnsiChar; Capacity: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetStr = function(Name, Value: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_GetInt = function(Name: PAnsiChar; var Value: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetInt = function(Name: PAnsiChar; Value: Integer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_GetFloat = function(Name: PAnsiChar; var Value: Double): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetFloat = function(Name: PAnsiChar; Value: Double): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_GetList = function(Name: PAnsiChar): ZulList;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetPrinterProc1 = function(Name: PAnsiChar; Fn: TZulPrinterProc1; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetPrinterProc2 = function(Name: PAnsiChar; Fn: TZulPrinterProc2; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetPrinterProc3 = function(Name: PAnsiChar; Fn: TZulPrinterProc3; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetPrinterProc4 = function(Name: PAnsiChar; Fn: TZulPrinterProc4; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetPrinterProc5 = function(Name: PAnsiChar; Fn: TZulPrinterProc5; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetPrinterProc = function(Name: PAnsiChar; Fn, User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetDialog = function(Fn: TZulDialogProc; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetTranslate = function(Fn: TZulTranslateProc; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetMessageText = function(Fn: TZulMessageTextProc; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetNetworkChooser = function(Fn: TZulNetworkChooserProc; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetMessagePump = function(Fn: TZulMessagePumpProc; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetFileObserver = function(Fn: TZulFileObserverProc; User: Pointer): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetDriveRoot = function(Folder: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_SetHostDirectory = function(Directory: PAnsiChar): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
  TZulFn_zul_DescribeDataSet = function(Path: PAnsiChar; Lines: ZulList): Integer;
    {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};

{$IFDEF ZUL_RUNTIME_LOADING}
{ Run-time loading, as the host guide's first rule asks: compiled with
  ZUL_RUNTIME_LOADING defined, every routine below is a variable of its
  type, which ZulLoad fills by name from the library it loads. A host calls
  the routines by the same names either way; it only calls ZulLoad first,
  and ZulUnload at the end. DoTef is DoTEF here too. }
var
  DoTEF: TZulFn_DoTEF;
  CheckGPAtivo: TZulFn_CheckGPAtivo;
  VerificaRetorno: TZulFn_VerificaRetorno;
  CheckIntPosFiles: TZulFn_CheckIntPosFiles;
  GetSequence: TZulFn_GetSequence;
  NewIntPosFileName: TZulFn_NewIntPosFileName;
  DeleteIntPosFiles: TZulFn_DeleteIntPosFiles;
  ImprCupons: TZulFn_ImprCupons;
  zul_SalePayment: TZulFn_zul_SalePayment;
  ImprCupom: TZulFn_ImprCupom;
  ImprCupom_FrameWork: TZulFn_ImprCupom_FrameWork;
  ImprCupomRG_FrameWork: TZulFn_ImprCupomRG_FrameWork;
  CancelaTEF: TZulFn_CancelaTEF;
  CancelaTEFs: TZulFn_CancelaTEFs;
  CancelaPendencia: TZulFn_CancelaPendencia;
  TipoRede: TZulFn_TipoRede;
  CheckDirTef: TZulFn_CheckDirTef;
  LogCartao: TZulFn_LogCartao;
  DetectaFuncao: TZulFn_DetectaFuncao;
  BloqueiaTeclado: TZulFn_BloqueiaTeclado;
  DesbloqueiaTeclado: TZulFn_DesbloqueiaTeclado;
  Initialize: TZulFn_Initialize;
  Finalize: TZulFn_Finalize;
  zul_Version: TZulFn_zul_Version;
  zul_VersionNumber: TZulFn_zul_VersionNumber;
  zul_LastError: TZulFn_zul_LastError;
  zul_LastErrorCode: TZulFn_zul_LastErrorCode;
  zul_ErrorName: TZulFn_zul_ErrorName;
  zul_LastOutcome: TZulFn_zul_LastOutcome;
  zul_ListNew: TZulFn_zul_ListNew;
  zul_ListFree: TZulFn_zul_ListFree;
  zul_ListCount: TZulFn_zul_ListCount;
  zul_ListGet: TZulFn_zul_ListGet;
  zul_ListAdd: TZulFn_zul_ListAdd;
  zul_ListClear: TZulFn_zul_ListClear;
  zul_ListText: TZulFn_zul_ListText;
  zul_ListSetText: TZulFn_zul_ListSetText;
  zul_ListLoadFromFile: TZulFn_zul_ListLoadFromFile;
  zul_ListSaveToFile: TZulFn_zul_ListSaveToFile;
  zul_GetStr: TZulFn_zul_GetStr;
  zul_SetStr: TZulFn_zul_SetStr;
  zul_GetInt: TZulFn_zul_GetInt;
  zul_SetInt: TZulFn_zul_SetInt;
  zul_GetFloat: TZulFn_zul_GetFloat;
  zul_SetFloat: TZulFn_zul_SetFloat;
  zul_GetList: TZulFn_zul_GetList;
  zul_SetPrinterProc1: TZulFn_zul_SetPrinterProc1;
  zul_SetPrinterProc2: TZulFn_zul_SetPrinterProc2;
  zul_SetPrinterProc3: TZulFn_zul_SetPrinterProc3;
  zul_SetPrinterProc4: TZulFn_zul_SetPrinterProc4;
  zul_SetPrinterProc5: TZulFn_zul_SetPrinterProc5;
  zul_SetPrinterProc: TZulFn_zul_SetPrinterProc;
  zul_SetDialog: TZulFn_zul_SetDialog;
  zul_SetTranslate: TZulFn_zul_SetTranslate;
  zul_SetMessageText: TZulFn_zul_SetMessageText;
  zul_SetNetworkChooser: TZulFn_zul_SetNetworkChooser;
  zul_SetMessagePump: TZulFn_zul_SetMessagePump;
  zul_SetFileObserver: TZulFn_zul_SetFileObserver;
  zul_SetDriveRoot: TZulFn_zul_SetDriveRoot;
  zul_SetHostDirectory: TZulFn_zul_SetHostDirectory;
  zul_DescribeDataSet: TZulFn_zul_DescribeDataSet;

{ Loads the library (Path, or ZulLibraryFile when Path is empty), finds every
  routine by name and checks that the library is of this unit's major
  version and at least as new. False, with the library not loaded, when it
  cannot be loaded, lacks a routine or is too old: Missing then says which.
  True at once when it is loaded already. }
function ZulLoad(const Path: AnsiString; out Missing: AnsiString): Boolean;
{ Unloads the library (the package's Finalize runs); no routine may be called
  after it until the next ZulLoad. }
procedure ZulUnload;
{$ELSE}
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

{$ENDIF}

{ The last error as a string. }
function ZulLastError: AnsiString;

implementation

{$IFDEF ZUL_RUNTIME_LOADING}
uses
  SysUtils, {$IFDEF FPC}dynlibs{$ELSE}Windows{$ENDIF};

var
  Loaded: {$IFDEF FPC}TLibHandle{$ELSE}HMODULE{$ENDIF} = 0;
  FirstMissing: AnsiString;

{ Slot is the address of a routine's variable (@@DoTEF). }
function Bind(Slot: PPointer; Name: PAnsiChar): Boolean;
begin
{$IFDEF FPC}
  Slot^ := GetProcedureAddress(Loaded, Name);
{$ELSE}
  Slot^ := GetProcAddress(Loaded, Name);
{$ENDIF}
  Result := Slot^ <> nil;
  if not Result then
    FirstMissing := Name;
end;

{ Every routine by name; False at the first one the library lacks. }
function BindAll: Boolean;
begin
  Result :=
    Bind(@@DoTEF, 'DoTEF') and
    Bind(@@CheckGPAtivo, 'CheckGPAtivo') and
    Bind(@@VerificaRetorno, 'VerificaRetorno') and
    Bind(@@CheckIntPosFiles, 'CheckIntPosFiles') and
    Bind(@@GetSequence, 'GetSequence') and
    Bind(@@NewIntPosFileName, 'NewIntPosFileName') and
    Bind(@@DeleteIntPosFiles, 'DeleteIntPosFiles') and
    Bind(@@ImprCupons, 'ImprCupons') and
    Bind(@@zul_SalePayment, 'zul_SalePayment') and
    Bind(@@ImprCupom, 'ImprCupom') and
    Bind(@@ImprCupom_FrameWork, 'ImprCupom_FrameWork') and
    Bind(@@ImprCupomRG_FrameWork, 'ImprCupomRG_FrameWork') and
    Bind(@@CancelaTEF, 'CancelaTEF') and
    Bind(@@CancelaTEFs, 'CancelaTEFs') and
    Bind(@@CancelaPendencia, 'CancelaPendencia') and
    Bind(@@TipoRede, 'TipoRede') and
    Bind(@@CheckDirTef, 'CheckDirTef') and
    Bind(@@LogCartao, 'LogCartao') and
    Bind(@@DetectaFuncao, 'DetectaFuncao') and
    Bind(@@BloqueiaTeclado, 'BloqueiaTeclado') and
    Bind(@@DesbloqueiaTeclado, 'DesbloqueiaTeclado') and
    Bind(@@Initialize, 'Initialize') and
    Bind(@@Finalize, 'Finalize') and
    Bind(@@zul_Version, 'zul_Version') and
    Bind(@@zul_VersionNumber, 'zul_VersionNumber') and
    Bind(@@zul_LastError, 'zul_LastError') and
    Bind(@@zul_LastErrorCode, 'zul_LastErrorCode') and
    Bind(@@zul_ErrorName, 'zul_ErrorName') and
    Bind(@@zul_LastOutcome, 'zul_LastOutcome') and
    Bind(@@zul_ListNew, 'zul_ListNew') and
    Bind(@@zul_ListFree, 'zul_ListFree') and
    Bind(@@zul_ListCount, 'zul_ListCount') and
    Bind(@@zul_ListGet, 'zul_ListGet') and
    Bind(@@zul_ListAdd, 'zul_ListAdd') and
    Bind(@@zul_ListClear, 'zul_ListClear') and
    Bind(@@zul_ListText, 'zul_ListText') and
    Bind(@@zul_ListSetText, 'zul_ListSetText') and
    Bind(@@zul_ListLoadFromFile, 'zul_ListLoadFromFile') and
    Bind(@@zul_ListSaveToFile, 'zul_ListSaveToFile') and
    Bind(@@zul_GetStr, 'zul_GetStr') and
    Bind(@@zul_SetStr, 'zul_SetStr') and
    Bind(@@zul_GetInt, 'zul_GetInt') and
    Bind(@@zul_SetInt, 'zul_SetInt') and
    Bind(@@zul_GetFloat, 'zul_GetFloat') and
    Bind(@@zul_SetFloat, 'zul_SetFloat') and
    Bind(@@zul_GetList, 'zul_GetList') and
    Bind(@@zul_SetPrinterProc1, 'zul_SetPrinterProc1') and
    Bind(@@zul_SetPrinterProc2, 'zul_SetPrinterProc2') and
    Bind(@@zul_SetPrinterProc3, 'zul_SetPrinterProc3') and
    Bind(@@zul_SetPrinterProc4, 'zul_SetPrinterProc4') and
    Bind(@@zul_SetPrinterProc5, 'zul_SetPrinterProc5') and
    Bind(@@zul_SetPrinterProc, 'zul_SetPrinterProc') and
    Bind(@@zul_SetDialog, 'zul_SetDialog') and
    Bind(@@zul_SetTranslate, 'zul_SetTranslate') and
    Bind(@@zul_SetMessageText, 'zul_SetMessageText') and
    Bind(@@zul_SetNetworkChooser, 'zul_SetNetworkChooser') and
    Bind(@@zul_SetMessagePump, 'zul_SetMessagePump') and
    Bind(@@zul_SetFileObserver, 'zul_SetFileObserver') and
    Bind(@@zul_SetDriveRoot, 'zul_SetDriveRoot') and
    Bind(@@zul_SetHostDirectory, 'zul_SetHostDirectory') and
    Bind(@@zul_DescribeDataSet, 'zul_DescribeDataSet') and
    True;
end;

function ZulLoad(const Path: AnsiString; out Missing: AnsiString): Boolean;
var
  Name: AnsiString;
  Version: Integer;
begin
  Missing := '';
  Result := Loaded <> 0;
  if Result then
    Exit;
  Name := Path;
  if Name = '' then
    Name := ZulLibraryFile;
{$IFDEF FPC}
  Loaded := LoadLibrary(Name);
{$ELSE}
  Loaded := LoadLibraryA(PAnsiChar(Name));
{$ENDIF}
  if Loaded = 0 then
  begin
    Missing := 'the library ' + Name + ' could not be loaded';
    Exit;
  end;
  if not BindAll then
    Missing := Name + ' lacks ' + FirstMissing + ': too old for this host'
  else
  begin
    Version := zul_VersionNumber();
    if (Version div 10000 <> ZUL_VERSION_MAJOR) or (Version < ZUL_VERSION_NUMBER) then
      Missing := Name + ' is version ' + AnsiString(IntToStr(Version)) + '; this host needs ' +
        AnsiString(IntToStr(ZUL_VERSION_NUMBER));
  end;
  Result := Missing = '';
  if not Result then
    ZulUnload;
end;

procedure ZulUnload;
begin
  if Loaded <> 0 then
    FreeLibrary(Loaded);
  Loaded := 0;
end;
{$ENDIF}

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
