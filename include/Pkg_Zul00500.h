/*
 * Pkg_Zul00500: card payments for the point of sale, as a host program loads
 * them: libPkg_Zul00500.so on Linux, Pkg_Zul00500.dll on Windows.
 *
 * This header is the whole interface of the library: plain C, undecorated
 * names on every platform, __stdcall on 32-bit Windows (ZUL_CALL). Load the
 * library by name (LoadLibrary, dlopen, DllImport, Pascal's external) and
 * call the routines below; nothing else is exported. Each routine's type is
 * named too, ZulFn_ and its name, for a host that finds it by name:
 *   ZulFn_DoTEF* doTEF = (ZulFn_DoTEF*)GetProcAddress(library, "DoTEF");
 *
 * Threads: every call comes from the host's user-interface thread, one at a
 * time. The package has no thread of its own; while it waits for the TEF
 * manager it pumps the host's messages (see zul_SetMessagePump), and a host
 * that calls in again from a message handler works on the same state.
 *
 * One till per manager: every routine that exchanges files with a manager
 * holds, for its whole run, a lock on the host directory and on each
 * exchange root (a file Zul00500.lck in each, locked by the system, which
 * drops it when the process ends). Calls made from within a routine share its
 * locks. A routine that still finds one taken after a second's wait touches
 * no file, tells the operator who holds it and returns 0 (CancelaTEFs -1);
 * zul_LastError then names the holder. See docs/one-till-per-manager.md.
 *
 * Load and unload: loading the library runs Initialize, unloading runs
 * Finalize, as a host's module loader would. The explicit Initialize and
 * Finalize count: only the first Initialize and the Finalize that balances
 * it do anything.
 *
 * Conventions
 *  - Text is code page 1252, NUL-terminated. A null const char* reads as "".
 *  - A string passed by reference is a buffer and its capacity in bytes, the
 *    terminating NUL included (at least 1). On entry it holds the caller's
 *    value; on return the routine's value, cut to fit when it is longer.
 *    A cut value is never lost silently: the whole value goes to the card
 *    log, zul_LastError tells which argument was cut and how many bytes it
 *    needs, and the routine's result stays what it was (a payment the manager
 *    approved still returns 1). The longest value of each is given below.
 *  - Integers and reals by reference are int* and double*; booleans are int
 *    (0 false, anything else true). Every pointer must be valid.
 *  - Results: 1 for true (or done), 0 for false, -1 when the package raised
 *    an error (a file or conversion error, an unassigned printer procedure, a
 *    host callback that failed, a bad argument). zul_LastError then gives its
 *    text. No C++ exception ever leaves the library.
 *  - The routines of the package clear the last error when they start;
 *    helpers (zul_*) set it only when they fail.
 */
#ifndef PKG_ZUL00500_H
#define PKG_ZUL00500_H

#if defined(_WIN32) && !defined(_WIN64)
#define ZUL_CALL __stdcall
#else
#define ZUL_CALL
#endif

/* The library itself is built with hidden symbols; these are its exports. */
#if defined(ZUL_BUILDING_PACKAGE) && defined(__GNUC__) && !defined(_WIN32)
#define ZUL_API __attribute__((visibility("default")))
#else
#define ZUL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define ZUL_TRUE 1
#define ZUL_FALSE 0
#define ZUL_ERROR (-1)

/* Buffer sizes that hold the longest value of a string by reference. */
#define ZUL_ROOT_CAPACITY 16     /* an exchange root: "c:\HiperTEF\" */
#define ZUL_CHOICE_CAPACITY 2    /* TipoRede: "1", "2", "3" or "9" */
#define ZUL_SEQUENCE_CAPACITY 11 /* ten digits */
#define ZUL_F748_CAPACITY 11     /* DoTEF: at most 10 characters */
#define ZUL_F027_CAPACITY 12     /* DoTEF: at most 11 characters */
#define ZUL_FIELD_CAPACITY 256   /* a manager field: as long as the manager writes it */
#define ZUL_PATH_CAPACITY 1024   /* a path under the host program's directory */

/* A string list: ordered lines of text, saved with CR LF after each line. */
typedef struct ZulListRec* ZulList;

/* ------------------------------------------------------------------------
 * The package's routines
 * ------------------------------------------------------------------------ */

/* One card or cheque payment of a sale. kind: "C", "D", "V", "Q" (cheque) or
 * another letter. *receipts: on return a new list that the caller frees with
 * zul_ListFree (the list it held before is left as it was and stays the
 * caller's); after an approval with receipt it holds the block "1" and the
 * answer's lines. *approvedCount: 0, or 1 after an approval with receipt.
 * *transactionNumber counts the sale's approvals (not reset here).
 * *extraAmount: field 709-000 / 100. documentNumber (012-000,
 * ZUL_FIELD_CAPACITY), field748 (ZUL_F748_CAPACITY), field013
 * (ZUL_FIELD_CAPACITY) and field027 (ZUL_F027_CAPACITY) keep the caller's
 * value when the answer lacks their field. */
typedef int ZUL_CALL ZulFn_DoTEF(const char* context, double amount, double amountDue, const char* kind,
                                 ZulList* receipts, int* approvedCount, int* transactionNumber,
                                 double* extraAmount, char* documentNumber, int documentNumberCapacity,
                                 char* field748, int field748Capacity, char* field013, int field013Capacity,
                                 char* field027, int field027Capacity);
ZUL_API ZulFn_DoTEF DoTEF;
/* The same routine under its plain name. */
ZUL_API ZulFn_DoTEF DoTef;

/* Is the manager running? operation "ATV" sends an activity request first;
 * any other operation only waits for the status file of that sequence. */
typedef int ZUL_CALL ZulFn_CheckGPAtivo(const char* operation, const char* sequence);
ZUL_API ZulFn_CheckGPAtivo CheckGPAtivo;
/* Confirms (notConfirm 0: "CNF") or not ("NCN") the transaction of answer. */
typedef int ZUL_CALL ZulFn_VerificaRetorno(const char* context, ZulList answer, int notConfirm,
                                           const char* unused);
ZUL_API ZulFn_VerificaRetorno VerificaRetorno;
/* Settles the answers that interrupted sales left behind. */
typedef int ZUL_CALL ZulFn_CheckIntPosFiles(const char* context, int notConfirm);
ZUL_API ZulFn_CheckIntPosFiles CheckIntPosFiles;
/* A fresh sequence number (ZUL_SEQUENCE_CAPACITY). Returns 1. */
typedef int ZUL_CALL ZulFn_GetSequence(char* sequence, int sequenceCapacity);
ZUL_API ZulFn_GetSequence GetSequence;
/* The next free backup name in directory (ZUL_PATH_CAPACITY). Returns 1. */
typedef int ZUL_CALL ZulFn_NewIntPosFileName(const char* directory, char* path, int pathCapacity);
ZUL_API ZulFn_NewIntPosFileName NewIntPosFileName;
/* Deletes the "intpos.*" files of directory that hold sequence (all of them
 * when sequence is empty). Returns 1. */
typedef int ZUL_CALL ZulFn_DeleteIntPosFiles(const char* directory, const char* sequence);
ZUL_API ZulFn_DeleteIntPosFiles DeleteIntPosFiles;

/* The sale's card receipts: opens the voucher or report, confirms and prints
 * each of the receiptCount blocks of receipts, closes, cleans up. */
typedef int ZUL_CALL ZulFn_ImprCupons(ZulList receipts, int receiptCount, int transactionCount,
                                      int printerType, const char* voucher1, const char* voucher2,
                                      const char* context, const char* report1, const char* report2,
                                      const char* copyChoice, const char* mode, const char* standard2,
                                      const char* standard1, double amount);
ZUL_API ZulFn_ImprCupons ImprCupons;
/* One transaction's receipt. */
typedef int ZUL_CALL ZulFn_ImprCupom(const char* report1, const char* report2, const char* context,
                                     const char* copyChoice, ZulList answer, int frameworkCopies,
                                     int transactionCount, int printerType, int ownDocument, int skipSaved,
                                     const char* mode, const char* standard2, const char* standard1);
ZUL_API ZulFn_ImprCupom ImprCupom;
/* The framework printer (type 29). */
typedef int ZUL_CALL ZulFn_ImprCupom_FrameWork(const char* report1, const char* report2, const char* context,
                                               const char* copyChoice, ZulList answer, int copies,
                                               int transactionCount, int printerType, int ownDocument,
                                               int skipSaved);
ZUL_API ZulFn_ImprCupom_FrameWork ImprCupom_FrameWork;
/* The framework printer's management report. */
typedef int ZUL_CALL ZulFn_ImprCupomRG_FrameWork(const char* report1, const char* report2,
                                                 const char* context, ZulList answer, int copies,
                                                 int transactionCount, int printerType, int ownDocument,
                                                 int skipSaved);
ZUL_API ZulFn_ImprCupomRG_FrameWork ImprCupomRG_FrameWork;

/* Cancels one transaction with a "CNC" request to the manager of network. */
typedef int ZUL_CALL ZulFn_CancelaTEF(const char* report1, const char* report2, const char* context,
                                      const char* copyChoice, int position, int transactionCount,
                                      int printerType, const char* pendingSequence, const char* unused,
                                      const char* amount, const char* network, const char* documentNumber,
                                      const char* field022, const char* field023, const char* mode,
                                      const char* standard2, const char* standard1, int printAndConfirm);
ZUL_API ZulFn_CancelaTEF CancelaTEF;
/* Deletes the manager's answers of every block of stlCuponsTEF (see
 * zul_GetList), up to inContCuponsTEF. Returns 1. */
typedef int ZUL_CALL ZulFn_CancelaTEFs(int unused);
ZUL_API ZulFn_CancelaTEFs CancelaTEFs;
/* Cancels every pending partial payment of an abandoned sale. */
typedef int ZUL_CALL ZulFn_CancelaPendencia(const char* report1, const char* report2, const char* context,
                                            const char* unused, int transactionCount, int printerType,
                                            const char* mode, const char* standard2, const char* standard1);
ZUL_API ZulFn_CancelaPendencia CancelaPendencia;

/* The network choice for a payment kind (ZUL_CHOICE_CAPACITY). Returns 1. */
typedef int ZUL_CALL ZulFn_TipoRede(const char* kind, char* choice, int choiceCapacity);
ZUL_API ZulFn_TipoRede TipoRede;
/* Chooses the exchange root for kind, stores it in DirTef, root
 * (ZUL_ROOT_CAPACITY) and DIRTEF.cds, and printerType in Zul_IdTipoImp.
 * 0 when the operator closed the network dialog. */
typedef int ZUL_CALL ZulFn_CheckDirTef(char* root, int rootCapacity, const char* kind, int printerType);
ZUL_API ZulFn_CheckDirTef CheckDirTef;

/* Appends a line to the monthly card log. Returns 1. */
typedef int ZUL_CALL ZulFn_LogCartao(const char* message);
ZUL_API ZulFn_LogCartao LogCartao;
/* Looks function up in library; *address receives it (or null when the
 * library loads but lacks it). */
typedef int ZUL_CALL ZulFn_DetectaFuncao(const char* library, const char* function, void** address);
ZUL_API ZulFn_DetectaFuncao DetectaFuncao;
/* Blocks and unblocks keyboard and mouse input where the system can.
 * Return 1. */
typedef int ZUL_CALL ZulFn_BloqueiaTeclado(void);
ZUL_API ZulFn_BloqueiaTeclado BloqueiaTeclado;
typedef int ZUL_CALL ZulFn_DesbloqueiaTeclado(void);
ZUL_API ZulFn_DesbloqueiaTeclado DesbloqueiaTeclado;

/* What the module loader runs; see "Load and unload" above. Return 1. */
typedef int ZUL_CALL ZulFn_Initialize(void);
ZUL_API ZulFn_Initialize Initialize;
typedef int ZUL_CALL ZulFn_Finalize(void);
ZUL_API ZulFn_Finalize Finalize;

/* ------------------------------------------------------------------------
 * Helpers
 * Texts come back snprintf-style: the full length is returned, and as much
 * as fits is written, NUL-terminated (nothing when capacity is 0).
 * ------------------------------------------------------------------------ */

/* The package's version, "major.minor.patch". */
typedef int ZUL_CALL ZulFn_zul_Version(char* value, int capacity);
ZUL_API ZulFn_zul_Version zul_Version;
/* The text of the last error; 0 when there is none. */
typedef int ZUL_CALL ZulFn_zul_LastError(char* value, int capacity);
ZUL_API ZulFn_zul_LastError zul_LastError;

/* String lists. zul_ListNew returns null only when memory runs out. Indexes
 * count from 0. zul_ListText gives the lines joined with CR LF after each;
 * zul_ListSetText takes CR, LF or CR LF as line ends. Files are read and
 * written as the package does (paths in Windows form are resolved the
 * package's way); a missing file is an error. */
typedef ZulList ZUL_CALL ZulFn_zul_ListNew(void);
ZUL_API ZulFn_zul_ListNew zul_ListNew;
typedef int ZUL_CALL ZulFn_zul_ListFree(ZulList list);
ZUL_API ZulFn_zul_ListFree zul_ListFree;
typedef int ZUL_CALL ZulFn_zul_ListCount(ZulList list);
ZUL_API ZulFn_zul_ListCount zul_ListCount;
typedef int ZUL_CALL ZulFn_zul_ListGet(ZulList list, int index, char* value, int capacity);
ZUL_API ZulFn_zul_ListGet zul_ListGet;
typedef int ZUL_CALL ZulFn_zul_ListAdd(ZulList list, const char* line);
ZUL_API ZulFn_zul_ListAdd zul_ListAdd;
typedef int ZUL_CALL ZulFn_zul_ListClear(ZulList list);
ZUL_API ZulFn_zul_ListClear zul_ListClear;
typedef int ZUL_CALL ZulFn_zul_ListText(ZulList list, char* value, int capacity);
ZUL_API ZulFn_zul_ListText zul_ListText;
typedef int ZUL_CALL ZulFn_zul_ListSetText(ZulList list, const char* text);
ZUL_API ZulFn_zul_ListSetText zul_ListSetText;
typedef int ZUL_CALL ZulFn_zul_ListLoadFromFile(ZulList list, const char* path);
ZUL_API ZulFn_zul_ListLoadFromFile zul_ListLoadFromFile;
typedef int ZUL_CALL ZulFn_zul_ListSaveToFile(ZulList list, const char* path);
ZUL_API ZulFn_zul_ListSaveToFile zul_ListSaveToFile;

/* The package's exported variables, by name (letter case does not matter).
 * Strings: stMensagem_Zul00500, dsDirPenTef, dsDirBkpTef, dsDirTef, DirTef,
 * stNrCupom, stNrSerie, stArquivo. Integers: inContCuponsTEF, Zul_IdTipoImp,
 * inContTransacoes, inSecTef. Reals: doTrocoTef, doAPagar, doValorTef.
 * Setters and the integer and real getters return 1, or -1 for a name that
 * is not a variable of that type. */
typedef int ZUL_CALL ZulFn_zul_GetStr(const char* name, char* value, int capacity);
ZUL_API ZulFn_zul_GetStr zul_GetStr;
typedef int ZUL_CALL ZulFn_zul_SetStr(const char* name, const char* value);
ZUL_API ZulFn_zul_SetStr zul_SetStr;
typedef int ZUL_CALL ZulFn_zul_GetInt(const char* name, int* value);
ZUL_API ZulFn_zul_GetInt zul_GetInt;
typedef int ZUL_CALL ZulFn_zul_SetInt(const char* name, int value);
ZUL_API ZulFn_zul_SetInt zul_SetInt;
typedef int ZUL_CALL ZulFn_zul_GetFloat(const char* name, double* value);
ZUL_API ZulFn_zul_GetFloat zul_GetFloat;
typedef int ZUL_CALL ZulFn_zul_SetFloat(const char* name, double value);
ZUL_API ZulFn_zul_SetFloat zul_SetFloat;
/* stlCuponsTEF, the package's own list: fill it before CancelaTEFs. The host
 * does not free it. Null for another name. */
typedef ZulList ZUL_CALL ZulFn_zul_GetList(const char* name);
ZUL_API ZulFn_zul_GetList zul_GetList;

/* ------------------------------------------------------------------------
 * The host's side. Every callback gets back the user pointer given with it.
 * A callback that returns a negative number reports a failure: the package
 * raises an error and the routine that called it ends with -1, after its own
 * clean-up (as an exception raised in a Delphi host's procedure would).
 * A null callback puts the platform's default back.
 * ------------------------------------------------------------------------ */

/* Fiscal-printer procedures: 1 done, 0 the printer did not respond. */
typedef int(ZUL_CALL* ZulPrinterProc1)(void* user, const char* a1);
typedef int(ZUL_CALL* ZulPrinterProc2)(void* user, const char* a1, const char* a2);
typedef int(ZUL_CALL* ZulPrinterProc3)(void* user, const char* a1, const char* a2, const char* a3);
typedef int(ZUL_CALL* ZulPrinterProc4)(void* user, const char* a1, const char* a2, const char* a3,
                                       const char* a4);
typedef int(ZUL_CALL* ZulPrinterProc5)(void* user, const char* a1, const char* a2, const char* a3,
                                       const char* a4, const char* a5);
/* name and the type fn must have:
 *   Fecha_Comp_NFiscalVinc (context)                               Proc1
 *   Usa_CompNFis (zero, text), Guilhotina (context, zero)          Proc2
 *   FechRelatGerenc (context, zero, zero),
 *   ImprimePadrao (standard1, standard2, text)                     Proc3
 *   Abre_Comp_NFiscalVinc (context, a2, a3, a4)                    Proc4
 *   Cupom_NFiscNVinc (context, "00", voucher1, voucher2, zero),
 *   Relatorio_Gerencial_Imp (context, report1, report2, zero, zero),
 *   GravaDocumentosNaoFiscais (serial, context, "CC", zero, zero)   Proc5
 * A null fn leaves the procedure unassigned: printing then fails with -1,
 * except Guilhotina (no paper cut). -1 for an unknown name. */
typedef int ZUL_CALL ZulFn_zul_SetPrinterProc(const char* name, void* fn, void* user);
ZUL_API ZulFn_zul_SetPrinterProc zul_SetPrinterProc;

/* Mensagem, the operator dialog: text; "" ; "N"; yesNo ("S" when the answer
 * is used); kind (0 information, 3 warning); ""; context; withReceipt (1 for
 * the manager's message about an answer with receipt lines); dataset (always
 * null). Returns 1 for yes, 0 for no. Default: a message box on Windows, the
 * terminal elsewhere. */
typedef int(ZUL_CALL* ZulDialogProc)(void* user, const char* text, const char* s2, const char* s3,
                                     const char* yesNo, int kind, const char* s6, const char* context,
                                     int withReceipt, const void* dataset);
typedef int ZUL_CALL ZulFn_zul_SetDialog(ZulDialogProc fn, void* user);
ZUL_API ZulFn_zul_SetDialog zul_SetDialog;

/* Trad: called for each visible text of the network dialog (name is the
 * control's, "frmCartaoDebito" for its caption). Writes the text to show into
 * buffer and returns its length; when that is capacity or more, the package
 * calls again with a buffer that fits. Default: the texts as they are. */
typedef int(ZUL_CALL* ZulTranslateProc)(void* user, const char* name, const char* text, char* buffer,
                                        int capacity);
typedef int ZUL_CALL ZulFn_zul_SetTranslate(ZulTranslateProc fn, void* user);
ZUL_API ZulFn_zul_SetTranslate zul_SetTranslate;

/* Msg: the text of a message-table key ("GER_PDR_N_ATV", "IMP_N_RESP"...);
 * tableText is the package's own. Same buffer protocol as ZulTranslateProc.
 * Default: the package's table, keys matched without regard to case. */
typedef int(ZUL_CALL* ZulMessageTextProc)(void* user, const char* key, const char* tableText, char* buffer,
                                          int capacity);
typedef int ZUL_CALL ZulFn_zul_SetMessageText(ZulMessageTextProc fn, void* user);
ZUL_API ZulFn_zul_SetMessageText zul_SetMessageText;

/* The network dialog: returns 1 TecBan, 2 other networks, 3 Hipercard or 9
 * closed (any other number closes it too). Default: a window on Windows, the
 * terminal elsewhere (closed when there is no terminal). */
typedef int(ZUL_CALL* ZulNetworkChooserProc)(void* user, const char* caption);
typedef int ZUL_CALL ZulFn_zul_SetNetworkChooser(ZulNetworkChooserProc fn, void* user);
ZUL_API ZulFn_zul_SetNetworkChooser zul_SetNetworkChooser;

/* The host's message loop, run by the package's waits: wait 0 handles every
 * queued message and returns; wait 1 waits for one message and handles it
 * (Delphi: Application.ProcessMessages and Application.HandleMessage).
 * Default: the thread's Windows message queue, nothing elsewhere. A console
 * program on Windows has no messages: give it a pump that returns at once,
 * or the sale's answer wait waits for a message that never comes. */
typedef int(ZUL_CALL* ZulMessagePumpProc)(void* user, int wait);
typedef int ZUL_CALL ZulFn_zul_SetMessagePump(ZulMessagePumpProc fn, void* user);
ZUL_API ZulFn_zul_SetMessagePump zul_SetMessagePump;

/* For integrators. The folder in which drive letters live on POSIX (c:\ is
 * folder/c; "" for the default, $ZUL_DRIVE_ROOT or a per-user folder);
 * ignored on Windows. The host program's directory: the package then works
 * as if loaded by a program there and derives its directories again ("" for
 * the real one). Return 1. */
typedef int ZUL_CALL ZulFn_zul_SetDriveRoot(const char* folder);
ZUL_API ZulFn_zul_SetDriveRoot zul_SetDriveRoot;
typedef int ZUL_CALL ZulFn_zul_SetHostDirectory(const char* directory);
ZUL_API ZulFn_zul_SetHostDirectory zul_SetHostDirectory;

/* For integrators: what the package reads from a dataset file (binary or XML
 * packet, such as PARAMETROSQTR.CDS or DIRTEF.cds). Replaces the lines of
 * `lines` with "format=binary" or "format=xml", "fields=" and the names,
 * "records=" and the count of the current view, then "R.FIELD=value" for every
 * record R (from 1) and field. Returns 1; -1 for a file that cannot be read or
 * is not a data packet (the list is then unchanged). */
typedef int ZUL_CALL ZulFn_zul_DescribeDataSet(const char* path, ZulList lines);
ZUL_API ZulFn_zul_DescribeDataSet zul_DescribeDataSet;

#ifdef __cplusplus
}
#endif

#endif /* PKG_ZUL00500_H */
