{ A small point-of-sale host in Delphi-mode Pascal: a sale of 100.00 paid by
  card in two payments (40.00 and 60.00), the receipts printed on a "printer"
  that writes to the console. Binds Pkg_Zul00500 by the unit's external
  declarations, or, compiled with -dZUL_RUNTIME_LOADING, loads it at run time
  with ZulLoad (libPkg_Zul00500.so from the library path, Pkg_Zul00500.dll
  beside the program). Built for Linux, and for Windows (i386-win32,
  x86_64-win64). docs/host-guide.md tells the
  order of calls for a whole day at the till.

  sale_host DRIVE_ROOT HOST_DIR   (what an integrator's test machine sets) }
program sale_host;

{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}
{$IFDEF MSWINDOWS}{$APPTYPE CONSOLE}{$ENDIF}

uses
  SysUtils, Pkg_Zul00500;

const
  Context = 'pascal-host';

function Show(Procedure_, A1, A2: PAnsiChar): Integer;
begin
  WriteLn('[printer] ', Procedure_, ' ', A1, ' ', A2);
  Result := ZUL_TRUE;
end;

{ The fiscal printer: receipt text goes to the console, the rest is noted. }
function AbreComprovante(User: Pointer; A1, A2, A3, A4: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Result := Show('Abre_Comp_NFiscalVinc', A2, A3);
end;

function UsaComprovante(User: Pointer; A1, A2: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Write(A2);
  Result := ZUL_TRUE;
end;

function Outro5(User: Pointer; A1, A2, A3, A4, A5: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Result := Show(PAnsiChar(User), A1, A2);
end;

function Outro3(User: Pointer; A1, A2, A3: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Result := Show(PAnsiChar(User), A1, A2);
end;

function Outro2(User: Pointer; A1, A2: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Result := Show(PAnsiChar(User), A1, A2);
end;

function Outro1(User: Pointer; A1: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Result := Show(PAnsiChar(User), A1, '');
end;

function Dialog(User: Pointer; Text, S2, S3, YesNo: PAnsiChar; Kind: Integer; S6, Ctx: PAnsiChar;
  WithReceipt: Integer; DataSet: Pointer): Integer; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  WriteLn('[dialog] ', Text);
  Result := ZUL_FALSE; { no question is expected in a sale that goes through }
end;

function ChooseNetwork(User: Pointer; Caption: PAnsiChar): Integer;
  {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  WriteLn('[network dialog] ', Caption, ': other networks');
  Result := 2;
end;

{ A console program has no window messages to handle. }
function Pump(User: Pointer; Wait: Integer): Integer; {$IFDEF MSWINDOWS}stdcall{$ELSE}cdecl{$ENDIF};
begin
  Result := ZUL_TRUE;
end;

procedure Check(Condition: Boolean; const What: string);
begin
  if not Condition then
  begin
    WriteLn('FAILED: ', What, ' (', zul_ErrorName(zul_LastErrorCode), ') ', ZulLastError);
    Halt(1);
  end;
end;

{ The procedure names, kept for the life of the program: each is its
  procedure's User pointer. }
const
  Names: array[0..8] of AnsiString = ('Abre_Comp_NFiscalVinc', 'Usa_CompNFis', 'Cupom_NFiscNVinc',
    'Relatorio_Gerencial_Imp', 'GravaDocumentosNaoFiscais', 'FechRelatGerenc', 'ImprimePadrao',
    'Guilhotina', 'Fecha_Comp_NFiscalVinc');

{ Each procedure through the setter of its type: the compiler checks it. }
procedure Connected(Outcome: Integer; Index: Integer);
begin
  Check(Outcome = ZUL_TRUE, 'zul_SetPrinterProc ' + string(Names[Index]));
end;

function Named(Index: Integer): PAnsiChar;
begin
  Result := PAnsiChar(Names[Index]);
end;

var
  Root: array[0..ZUL_ROOT_CAPACITY - 1] of AnsiChar;
  Document: array[0..ZUL_FIELD_CAPACITY - 1] of AnsiChar;
  Field748: array[0..ZUL_F748_CAPACITY - 1] of AnsiChar;
  Field013: array[0..ZUL_FIELD_CAPACITY - 1] of AnsiChar;
  Field027: array[0..ZUL_F027_CAPACITY - 1] of AnsiChar;
  Receipts: ZulList;
  Approved, Transaction, WithReceipt: Integer;
  Extra, Paid: Double;
  Payments: array[0..1] of Double = (40.00, 60.00);
  Due: Double;
  I: Integer;
{$IFDEF ZUL_RUNTIME_LOADING}
  Missing: AnsiString;
{$ENDIF}
begin
  Check(ParamCount = 2, 'usage: sale_host DRIVE_ROOT HOST_DIR');
{$IFDEF ZUL_RUNTIME_LOADING}
  { Every routine found by name, and the version checked, before the first call. }
  Check(ZulLoad('', Missing), string(Missing));
{$ENDIF}
  { A library older than this unit, or of another major version, lacks what
    the host was written for. }
  Check((zul_VersionNumber() div 10000 = ZUL_VERSION_MAJOR) and (zul_VersionNumber() >= ZUL_VERSION_NUMBER),
    'the library''s version');
  zul_SetDriveRoot(PAnsiChar(AnsiString(ParamStr(1))));
  zul_SetHostDirectory(PAnsiChar(AnsiString(ParamStr(2))));

  Connected(zul_SetPrinterProc4(Named(0), AbreComprovante, nil), 0);
  Connected(zul_SetPrinterProc2(Named(1), UsaComprovante, nil), 1);
  Connected(zul_SetPrinterProc5(Named(2), Outro5, Named(2)), 2);
  Connected(zul_SetPrinterProc5(Named(3), Outro5, Named(3)), 3);
  Connected(zul_SetPrinterProc5(Named(4), Outro5, Named(4)), 4);
  Connected(zul_SetPrinterProc3(Named(5), Outro3, Named(5)), 5);
  Connected(zul_SetPrinterProc3(Named(6), Outro3, Named(6)), 6);
  Connected(zul_SetPrinterProc2(Named(7), Outro2, Named(7)), 7);
  Connected(zul_SetPrinterProc1(Named(8), Outro1, Named(8)), 8);
  zul_SetDialog(Dialog, nil);
  zul_SetNetworkChooser(ChooseNetwork, nil);
  zul_SetMessagePump(Pump, nil);

  { The network for a debit card: the operator picks it. }
  FillChar(Root, SizeOf(Root), 0);
  Check(CheckDirTef(Root, SizeOf(Root), 'D', 0) = ZUL_TRUE, 'CheckDirTef');
  WriteLn('network: ', PAnsiChar(@Root[0]));

  { The sale: 100.00 in two card payments. Each DoTEF puts a new list into
    Receipts, ours to free: the earlier payment's goes before the next
    payment, the last one after printing. }
  Receipts := nil;
  Transaction := 0;
  WithReceipt := 0;
  Due := 100.00;
  zul_SetFloat('doValorTef', 0);
  for I := 0 to 1 do
  begin
    FillChar(Document, SizeOf(Document), 0);
    FillChar(Field748, SizeOf(Field748), 0);
    FillChar(Field013, SizeOf(Field013), 0);
    FillChar(Field027, SizeOf(Field027), 0);
    zul_ListFree(Receipts); { the earlier payment's list (nil the first time) }
    Receipts := nil;
    Check(DoTEF(Context, Payments[I], Due, 'C', Receipts, Approved, Transaction, Extra, Document,
      SizeOf(Document), Field748, SizeOf(Field748), Field013, SizeOf(Field013), Field027,
      SizeOf(Field027)) = ZUL_TRUE, 'DoTEF');
    Check(Approved = 1, 'approval');
    WriteLn(Format('payment %d: %.2f approved, document %s, authorization %s',
      [I + 1, Payments[I], string(PAnsiChar(@Document[0])), string(PAnsiChar(@Field013[0]))]));
    Inc(WithReceipt, Approved);
    Due := Due - Payments[I];
  end;
  zul_GetFloat('doValorTef', Paid);
  Check(Abs(Paid - 100.00) < 0.005, 'doValorTef');

  Check(ImprCupons(Receipts, 1, WithReceipt, 0, '', '', Context, '', '', 'S', 'F', '', '', Paid) = ZUL_TRUE,
    'ImprCupons');
  zul_ListFree(Receipts);
{$IFDEF ZUL_RUNTIME_LOADING}
  ZulUnload;
{$ENDIF}
  WriteLn('result=ok');
end.
