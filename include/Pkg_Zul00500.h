/**
 * @file Pkg_Zul00500.h
 * @brief Card and cheque payments for the point of sale: the whole C
 * interface of the Pkg_Zul00500 library.
 *
 * The library is libPkg_Zul00500.so on Linux and Pkg_Zul00500.dll on Windows.
 * A host program loads it by name (LoadLibrary, dlopen, DllImport, Pascal's
 * external) and calls the routines declared here; nothing else is exported.
 * The package never talks to a bank: every payment, confirmation and
 * cancellation is an exchange of small text files with a TEF manager program
 * that runs on the same machine (see @ref zul_files). The host guide
 * (docs/host-guide.md, the reference's front page) walks through a day at the
 * till with a C snippet for every step. Where a routine behaves otherwise
 * than hosts written for the original routines may expect (the waits'
 * bounds and pauses, what is kept, set aside or logged), docs/deviations.md
 * says so and why.
 *
 * @par Calling convention and names
 * Plain C, undecorated names on every platform, __stdcall on 32-bit Windows
 * (#ZUL_CALL), cdecl elsewhere. Each routine's type is named too, ZulFn_ and
 * its name, for a host that finds it by name:
 * @code
 * ZulFn_DoTEF* doTEF = (ZulFn_DoTEF*)GetProcAddress(library, "DoTEF");
 * @endcode
 *
 * @par Threads
 * Every call comes from the host's user-interface thread, one at a time: the
 * package keeps its state in plain variables without locks. It has no thread
 * of its own; while it waits for the manager it runs the host's message pump
 * (zul_SetMessagePump()). One routine runs at a time: while one runs (its
 * dialogs, printer procedures and message pump included), a call from the
 * host's code into any routine that talks to a manager, touches the exchange
 * files or changes the package's settings, variables or callbacks returns -1
 * with #ZUL_E_REENTRANT and does nothing. The readers stay callable from
 * there: zul_LastError(), zul_LastErrorCode(), zul_ErrorName(), the version,
 * zul_GetStr() and its siblings, zul_GetList(), the list routines,
 * GetSequence(), LogCartao(), DetectaFuncao(), BloqueiaTeclado(),
 * DesbloqueiaTeclado() and zul_DescribeDataSet(). What they, or a refused
 * call, leave as the last error is the callback's to read; the running
 * routine's own last error is back when the callback returns.
 *
 * @par One till per manager
 * Every routine that exchanges files with a manager holds, for its whole
 * run, a lock on the host directory and on each exchange root (a file
 * Zul00500.lck in each, locked by the system, which drops it when the
 * process ends). A routine's own calls to other routines share its locks.
 * A routine that still finds one taken after a second's wait touches no
 * file, tells the operator who holds it and returns 0 (CancelaTEFs() -1);
 * zul_LastError() then names the holder and zul_LastErrorCode() gives
 * #ZUL_NOTE_TILL_BUSY.
 * See docs/one-till-per-manager.md.
 *
 * @par Load and unload
 * Loading the library runs Initialize(), unloading it runs Finalize(), as a
 * host's module loader would. Initialize() works out the package's three
 * directories under the host program's directory (see @ref zul_files).
 *
 * @par Text
 * Text is code page 1252 (Windows Latin 1), NUL-terminated, in both
 * directions, whatever the machine's own code page: messages, fields and
 * paths alike. A path the host passes (zul_SetDriveRoot(),
 * zul_SetHostDirectory(), a list's file) is code page 1252 too, and the
 * package converts it to the file system's encoding (UTF-16 on Windows,
 * UTF-8 on Linux): a host on Linux converts its UTF-8 directory to the code
 * page before it passes it, as it converts any text, and gets the package's
 * directories back in the code page. A null `const char*` reads as "".
 *
 * @par Results
 * #ZUL_TRUE (1) for true or done, #ZUL_FALSE (0) for false, #ZUL_ERROR (-1)
 * when the package raised an error: a file that could not be read or
 * written, a text that should have been a number, an unassigned printer
 * procedure, a host callback that failed, a bad argument. zul_LastErrorCode()
 * and zul_LastError() then tell what happened. No C++ exception ever leaves
 * the library. Every routine that succeeds clears the last error. Beside the
 * 1 or 0 of a routine that talks to a manager, zul_LastOutcome() tells which
 * of its cases it was (#ZUL_OUTCOME_APPROVED, #ZUL_OUTCOME_REFUSED...).
 *
 * @par Strings passed by reference
 * A buffer and its capacity in bytes, the terminating NUL included (at least
 * 1). On entry it holds the caller's value, on return the routine's. A value
 * longer than the buffer is cut to fit and never lost silently: the whole
 * value goes to the card log, zul_LastError() names the argument and the
 * capacity it needs, zul_LastErrorCode() gives #ZUL_NOTE_TRUNCATED, and the
 * routine's result stays what it was (a payment the manager approved still
 * returns 1). The ZUL_..._CAPACITY constants hold the longest value of each.
 *
 * @par Integers, reals and booleans
 * Integers and reals passed by reference are `int*` and `double*`; booleans
 * are `int` (0 false, anything else true). Every pointer must be valid.
 * Amounts are reals in currency units (40.00 is forty reais).
 */
#ifndef PKG_ZUL00500_H
#define PKG_ZUL00500_H

/**
 * @defgroup zul_basics Conventions, version and errors
 * @brief The calling convention, results, buffer sizes, the version and the
 * last error.
 * @{
 */

/** @brief The calling convention of every routine and callback: __stdcall
 * on 32-bit Windows, the platform's C convention elsewhere. */
#if defined(_WIN32) && !defined(_WIN64)
#define ZUL_CALL __stdcall
#else
#define ZUL_CALL
#endif

/* The library itself is built with hidden symbols; these are its exports. */
#if defined(ZUL_BUILDING_PACKAGE) && defined(__GNUC__) && !defined(_WIN32)
#define ZUL_API __attribute__((visibility("default")))
#else
/** @brief What marks an exported routine (nothing for a host). */
#define ZUL_API
#endif

/** @brief Marks a routine kept for old hosts; a host may define it empty
 * before including this header to silence the compiler's warning. */
#ifndef ZUL_DEPRECATED
#if defined(__GNUC__) || defined(__clang__)
#define ZUL_DEPRECATED(message) __attribute__((deprecated(message)))
#elif defined(_MSC_VER)
#define ZUL_DEPRECATED(message) __declspec(deprecated(message))
#else
#define ZUL_DEPRECATED(message)
#endif
#endif

/** @brief Declares routine `name` and its type ZulFn_name in one go, so that
 * the two never differ. */
#define ZUL_ROUTINE(result, name, parameters)                                                                \
  typedef result ZUL_CALL ZulFn_##name parameters;                                                           \
  ZUL_API ZulFn_##name name
/** @brief ZUL_ROUTINE() for a routine kept only for old hosts. */
#define ZUL_DEPRECATED_ROUTINE(result, name, parameters, message)                                            \
  typedef result ZUL_CALL ZulFn_##name parameters;                                                           \
  ZUL_API ZUL_DEPRECATED(message) ZulFn_##name name

/** @brief The major version: it changes when a host must be changed. While
 * it is 0, a new minor version may change the interface too. */
#define ZUL_VERSION_MAJOR 0
/** @brief The minor version: new routines, nothing taken away. */
#define ZUL_VERSION_MINOR 1
/** @brief The patch version: mends only. */
#define ZUL_VERSION_PATCH 0
/** @brief The version as one number, major * 10000 + minor * 100 + patch
 * (0.1.0 is 100), to compare with zul_VersionNumber() at load time. */
#define ZUL_VERSION_NUMBER (ZUL_VERSION_MAJOR * 10000 + ZUL_VERSION_MINOR * 100 + ZUL_VERSION_PATCH)
/** @brief 1 in the header of a released package, 0 in one built between
 * releases and in the source tree. zul_Version() tells the library's own. */
#define ZUL_RELEASE 0
/** @brief The source the installed header was built from: its commit and
 * the commit's date, with "+dirty" when the tree had changes
 * ("ca2d32c 2026-12-09+dirty"); "unknown" when the build could not tell,
 * and empty in the source tree. zul_Version() tells the library's own. */
#define ZUL_SOURCE_ID ""

#ifdef __cplusplus
extern "C" {
#endif

/** @brief A routine's result: true, or done. */
#define ZUL_TRUE 1
/** @brief A routine's result: false (not approved, not acknowledged, the
 * operator said no). */
#define ZUL_FALSE 0
/** @brief A routine's result: the package raised an error; see
 * zul_LastErrorCode() and zul_LastError(). */
#define ZUL_ERROR (-1)

/** @brief Holds an exchange root, `c:\HiperTEF\` the longest (CheckDirTef()). */
#define ZUL_ROOT_CAPACITY 16
/** @brief Holds a network choice, "1", "2", "3" or "9" (TipoRede()). */
#define ZUL_CHOICE_CAPACITY 2
/** @brief Holds a sequence number of ten digits (GetSequence()). */
#define ZUL_SEQUENCE_CAPACITY 11
/** @brief Holds DoTEF()'s field748: at most 10 characters. */
#define ZUL_F748_CAPACITY 11
/** @brief Holds DoTEF()'s field027: at most 11 characters. */
#define ZUL_F027_CAPACITY 12
/** @brief Holds a field of a manager's answer as long as managers write
 * them; a longer one is cut and noted (#ZUL_NOTE_TRUNCATED). */
#define ZUL_FIELD_CAPACITY 256
/** @brief Holds a path under the host program's directory. */
#define ZUL_PATH_CAPACITY 1024

/** @name Error codes
 * What zul_LastErrorCode() gives. Codes below 100 come with a -1 result;
 * codes from 100 up are notes that a routine left beside its 1 or 0.
 * @{ */
/** @brief No error: the last routine succeeded and noted nothing. */
#define ZUL_OK 0
/** @brief A file could not be read, written, created, renamed or appended
 * to: a missing directory, no permission, a full disk. The text names the
 * operation, the path and the system's reason. */
#define ZUL_E_FILE 1
/** @brief A file is held open by another program that does not share it
 * (Windows only), typically the manager still writing an answer. */
#define ZUL_E_FILE_BUSY 2
/** @brief A text that must be a number is not: an amount or a receipt line
 * count in a manager's answer, a backup file's number. */
#define ZUL_E_NUMBER 3
/** @brief A dataset file (DIRTEF.cds, PARAMETROSQTR.CDS) exists but is not a
 * data packet the package can read, or lacks the field it needs. */
#define ZUL_E_DATASET 4
/** @brief An argument the package cannot take: a null pointer passed by
 * reference, a capacity below 1, a list handle that is not a live list, an
 * unknown variable or procedure name. Nothing was done. */
#define ZUL_E_ARGUMENT 5
/** @brief A host callback reported a failure (a negative result) or broke
 * its contract; the routine ended after its own clean-up. */
#define ZUL_E_CALLBACK 6
/** @brief A fiscal-printer procedure the routine needed was never assigned
 * (zul_SetPrinterProc1() and the others). */
#define ZUL_E_NO_PRINTER_PROC 7
/** @brief Memory ran out. */
#define ZUL_E_MEMORY 8
/** @brief An error of no kind above: a fault of the package. The text says
 * what; please report it. */
#define ZUL_E_OTHER 9
/** @brief The routine was called from the host's code (a dialog, a printer
 * procedure, the message pump...) while another routine runs, and it is one
 * that must wait for that routine's end: nothing was done. The text names
 * the running routine. See "Threads" above. */
#define ZUL_E_REENTRANT 10
/** @brief DoTEF() was refused, before anything was sent or written:
 * `Dados\TefDisc\Pendente\` holds the pending copy of a confirmed partial
 * payment of another sale that was not finished (one numbered above the
 * `transactionNumber` passed, which is 0 for a new sale), and this sale would
 * write over it or end it unprinted. The operator was told to print or
 * cancel the pending payments; the text names the copies. Finish that sale
 * (pay the rest with its count, then ImprCupons()) or undo it with
 * CancelaPendencia(), then start the new sale. See #ZUL_NOTE_PENDING_SALE. */
#define ZUL_E_PENDING_SALE 11
/** @brief A note, not an error: the routine succeeded, but a value was cut to
 * fit the caller's buffer. The text names the argument and the capacity it
 * needs; the card log has the whole value. */
#define ZUL_NOTE_TRUNCATED 100
/** @brief A note: another till, or another process of this one, held the host
 * directory or an exchange root for longer than a second. The routine touched
 * no file and returned its false result; the text names the holder. */
#define ZUL_NOTE_TILL_BUSY 101
/** @brief A note: the routine's result stands, but after the manager took a
 * settlement it met a problem it could not mend, such as a card log that
 * could not be written. The text says what. */
#define ZUL_NOTE_PROBLEM 102
/** @brief A note from CheckIntPosFiles(), beside its 1 or 0: the pending
 * directory holds copies of confirmed partial payments of a sale not
 * finished (after a restart, the sale the till was in). They stand at the
 * manager. Until they are printed or cancelled, DoTEF() refuses a new sale
 * (#ZUL_E_PENDING_SALE). The text names the copies, "intpos." + the
 * payment's number: pass the highest as the count to CancelaPendencia(). */
#define ZUL_NOTE_PENDING_SALE 103
/** @brief A note beside a 0: the manager did not take the confirmation
 * ("CNF") of a payment or cancellation within 15 s, and the package took the
 * request back. The payment or cancellation does not stand: nothing was
 * printed for it (a cancellation's receipt, printed before its confirmation,
 * is void), it is left out of the counts and #ZUL_VAR_doValorTef, and the
 * next CheckIntPosFiles() (or DoTEF()) undoes it at the manager. Ask for
 * the payment again, or run the scan and cancel again. */
#define ZUL_NOTE_WITHDRAWN 104
/** @brief A note: the routine's result stands, but a file in an exchange
 * directory could not be read (another user's file this till may not read,
 * or one held open without sharing for longer than 2 seconds) and was passed
 * over: left where it is, neither settled nor deleted. A person must see to
 * it; the text names each such file. */
#define ZUL_NOTE_UNREADABLE 105
/** @} */

/** @name Outcomes
 * What zul_LastOutcome() gives after a routine that talks to a manager:
 * what the manager, the network or the operator decided, beside the
 * routine's 1 or 0 (as SQLite's extended result codes stand beside its
 * result). The result keeps its meaning; the outcome tells which of its
 * cases it was. docs/host-guide.md, "When something goes wrong", says what
 * the host does after each.
 * @{ */
/** @brief Nothing was decided with a manager: the routine ended before it
 * talked to one (a bad argument, an answer without a network name), or the
 * last routine does not talk to one. */
#define ZUL_OUTCOME_NONE 200
/** @brief The manager took what was sent: the activity check was
 * acknowledged, the confirmation taken, every leftover settled, every
 * receipt confirmed and printed, every pending payment undone, the network
 * chosen. Beside a 1. */
#define ZUL_OUTCOME_DONE 201
/** @brief DoTEF(): the network approved the payment, with receipt lines
 * (`approvedCount` 1). Beside a 1. */
#define ZUL_OUTCOME_APPROVED 202
/** @brief DoTEF(): the network approved the payment without receipt lines
 * (`approvedCount` 0, beside a 1). It is final: the manager needs no
 * confirmation for it, and there is nothing to print. The host counts it as
 * paid (takes its amount off what the sale owes) and does not ask for the
 * money again; the sale's printing run (ImprCupons(), `transactionNumber`
 * as it stands) prints the other payments' receipts. */
#define ZUL_OUTCOME_APPROVED_NO_RECEIPT 203
/** @brief DoTEF(): the network refused the payment (beside a 0). The
 * network's own code (the answer's field 009-000) is in zul_LastOutcome()'s
 * buffer; the operator saw the manager's message. */
#define ZUL_OUTCOME_REFUSED 204
/** @brief The manager answered with its error answer ("000-000 = XXX"), or
 * with an answer past the package's bounds: it did not carry out the
 * request. Beside a 0. */
#define ZUL_OUTCOME_MANAGER_ERROR 205
/** @brief The manager did not acknowledge a request within 15 s (a
 * cancellation: nor answer within 10 minutes): it is not running, or busy.
 * Beside a 0 (for CancelaTEF() also a 1, when the confirmation of an
 * approved cancellation was not acknowledged: the next scan settles it). */
#define ZUL_OUTCOME_NOT_ACTIVE 206
/** @brief The exchange root in use, or its `req\` or `resp\` folder, does not
 * exist: no manager is installed there, or the drive root (zul_SetDriveRoot())
 * is wrong. Beside a 0. */
#define ZUL_OUTCOME_NO_DIRECTORY 207
/** @brief DoTEF(): the operator stopped waiting for the manager's answer
 * ("Sem resposta do gerenciador. Continuar aguardando?" answered no). The
 * request stays for the next scan, which undoes any approval. Beside a 0. */
#define ZUL_OUTCOME_OPERATOR_STOPPED 208
/** @brief DoTEF() or CheckDirTef(): the operator closed the network dialog.
 * Nothing was sent. Beside a 0. */
#define ZUL_OUTCOME_NETWORK_CLOSED 209
/** @brief Another till held the host directory or an exchange root (see
 * "One till per manager" above; zul_LastErrorCode() gives
 * #ZUL_NOTE_TILL_BUSY). Nothing was done. Beside a 0 (CancelaTEFs() -1). */
#define ZUL_OUTCOME_TILL_BUSY 210
/** @brief CancelaTEF(): the network approved the cancellation, and the
 * manager took its confirmation (or it had no receipt to confirm). Beside
 * a 1. */
#define ZUL_OUTCOME_CANCEL_APPROVED 211
/** @brief CancelaTEF(): the network refused the cancellation (beside a 1,
 * as the routine has always returned): the payment stands. The network's
 * code is in zul_LastOutcome()'s buffer. */
#define ZUL_OUTCOME_CANCEL_REFUSED 212
/** @brief The manager did not take a confirmation within 15 s and the
 * package took it back (#ZUL_NOTE_WITHDRAWN): the payment or cancellation
 * does not stand. Beside a 0. */
#define ZUL_OUTCOME_WITHDRAWN 213
/** @brief ImprCupons(): the printer failed and the operator gave up (beside
 * a 0): see zul_SalePayment() for what stands and what printed. CancelaTEF():
 * the cancellation's receipt did not print, so it was not confirmed but
 * undone (beside a 1): the payment stands; cancel again. */
#define ZUL_OUTCOME_NOT_PRINTED 214
/** @} */

/** @name Where a payment stands at the manager
 * What zul_SalePayment() gives in `standing`.
 * @{ */
/** @brief The manager took neither its confirmation nor its
 * non-confirmation yet; the next CheckIntPosFiles() (or DoTEF()) undoes it,
 * unless the manager did take a confirmation it did not acknowledge. Not
 * paid: run the scan, then ask for it again. */
#define ZUL_PAYMENT_OPEN 0
/** @brief Confirmed: the payment is final, the customer paid it. Never ask
 * for it again; print its receipt if it is not printed. */
#define ZUL_PAYMENT_CONFIRMED 1
/** @brief Undone ("NCN" taken): the customer did not pay it. Ask for it
 * again. */
#define ZUL_PAYMENT_UNDONE 2
/** @} */

/**
 * @brief The package's version as text: "major.minor.patch", then, in
 * parentheses, the source it was built from (as #ZUL_SOURCE_ID) and
 * "release" or "development build", e.g. "0.1.0 (ca2d32c 2026-12-09,
 * release)". A host that needs only the numbers reads them up to the first
 * space, or calls zul_VersionNumber().
 * @param value a buffer for the text, or null to ask only for its length.
 * @param capacity the buffer's size in bytes, 0 with a null buffer.
 * @return the text's full length, snprintf-style: as much as fits is
 * written, NUL-terminated. Clears the last error, as every routine that
 * succeeds.
 */
ZUL_ROUTINE(int, zul_Version, (char* value, int capacity));
/**
 * @brief The version of the loaded library as one number
 * (#ZUL_VERSION_NUMBER of the header it was built with).
 *
 * A host built against this header checks at load time that the library is
 * at least as new as the header, and of the same major version:
 * @code
 * int loaded = zul_VersionNumber();
 * if (loaded / 10000 != ZUL_VERSION_MAJOR || loaded < ZUL_VERSION_NUMBER) refuse_to_start();
 * @endcode
 * @return the number, 0.1.0 as 100. Clears the last error.
 */
ZUL_ROUTINE(int, zul_VersionNumber, (void));
/**
 * @brief The text of the last error, with any notes after it.
 *
 * Set when a routine ended with -1 (for example "DoTEF: write the file
 * `c:\tef_dial\req\intpos.001`: Path not found"), or when one that succeeded
 * noted something (#ZUL_NOTE_TRUNCATED). Reading it changes nothing.
 * @param value a buffer for the text, or null to ask only for its length.
 * @param capacity the buffer's size in bytes, 0 with a null buffer.
 * @return the text's full length (0 when there is none), snprintf-style.
 */
ZUL_ROUTINE(int, zul_LastError, (char* value, int capacity));
/**
 * @brief The code of the last error (#ZUL_E_FILE...), or the note the last
 * routine left after a success (#ZUL_NOTE_TRUNCATED), or #ZUL_OK.
 *
 * Each routine's documentation says which codes it can give; any routine
 * can also give #ZUL_E_MEMORY and #ZUL_E_OTHER, and every routine but the
 * readers #ZUL_E_REENTRANT when called from a callback (see "Threads" at the
 * top). Reading it changes nothing.
 * @return the code.
 */
ZUL_ROUTINE(int, zul_LastErrorCode, (void));
/**
 * @brief The name of an error code, for logs: "ZUL_E_FILE" for #ZUL_E_FILE.
 * @param code a code zul_LastErrorCode() gave.
 * @return a static NUL-terminated text; "ZUL_E_UNKNOWN" for a number that is
 * no code. Gives no error code and leaves the last error as it is.
 */
ZUL_ROUTINE(const char*, zul_ErrorName, (int code));
/**
 * @brief The outcome of the last routine that talks to a manager
 * (#ZUL_OUTCOME_APPROVED...), and the network's own code of a refusal.
 *
 * DoTEF(), CancelaTEF(), CancelaPendencia(), ImprCupons() and the other
 * printing routines, CheckIntPosFiles(), VerificaRetorno(), CheckGPAtivo()
 * and CheckDirTef() each set it afresh; the other routines leave it. After a
 * -1 it tells only what was decided before the error (often
 * #ZUL_OUTCOME_NONE): read zul_LastErrorCode(). Like zul_LastError(), reading
 * it changes nothing, and it may be read from a callback.
 * @code
 * char code[ZUL_FIELD_CAPACITY];
 * if (DoTEF(...) == ZUL_FALSE && zul_LastOutcome(code, sizeof code) == ZUL_OUTCOME_REFUSED)
 *   log_refusal(code);
 * @endcode
 * @param networkCode a buffer for the network's code (the answer's 009-000)
 * beside #ZUL_OUTCOME_REFUSED and #ZUL_OUTCOME_CANCEL_REFUSED, "" beside
 * the others; or null. Cut to fit silently.
 * @param capacity its size in bytes (#ZUL_FIELD_CAPACITY holds any), 0
 * with a null buffer.
 * @return the outcome code.
 */
ZUL_ROUTINE(int, zul_LastOutcome, (char* networkCode, int capacity));

/** @} */

/**
 * @defgroup zul_files Directories and files
 * @brief Where the package reads and writes.
 *
 * Paths are written the Windows way, in code page 1252 like all text. On
 * Linux a drive path `X:\a\b` lives under the drive root (zul_SetDriveRoot();
 * $ZUL_DRIVE_ROOT by default) as x/a/b, every name in UTF-8 on disk, and a
 * name that does not match exactly is matched without regard to letter
 * case, as Windows would. Error texts show a path as the system writes it:
 * `/srv/pos/Dados/TefDisc/intpos.1` on Linux for a host directory given as
 * `/srv/pos`.
 *
 * @par The manager's side: exchange roots
 * One TEF manager per network family watches its own exchange root:
 * `c:\tef_disc\` (TecBan), `c:\tef_dial\` (every other network) and
 * `c:\HiperTEF\` (Hipercard). Under the root in use (#ZUL_VAR_DirTef), the
 * package writes each request as `req\intpos.001`, one whole file that
 * replaces the previous request, and reads the manager's status file
 * `resp\intpos.sts` (deleted after every read) and its answer
 * `resp\intpos.001`. Before an activity check it empties `resp\`.
 *
 * @par The host's side: under the host program's directory
 * The package works out three directories from the directory of the program
 * that loaded it (in its short 8.3 form on Windows), or from
 * zul_SetHostDirectory():
 * - `Dados\TefDisc\` (#ZUL_VAR_dsDirBkpTef): a numbered copy of every answer
 *   read ("intpos.1", "intpos.2"...; "intpos.001" only for a moment); in
 *   its folder `Liquidando\` a note (named by the request's sequence) while a
 *   confirmation's request is with the manager, and in `Liquidados\` the
 *   marks of settled answers, kept two days. Answers no manager can take are moved to
 *   `Dados\TefDisc\Descartados\` for a person to look at. What an installer
 *   may delete, and what never: docs/host.md, "What lives under Dados".
 * - `Dados\TefDisc\Pendente\` (#ZUL_VAR_dsDirPenTef): "intpos." + n, a copy of
 *   the answer of the sale's approved partial payment number n, kept until
 *   its receipt is printed or the payment cancelled.
 * - `Dados\Cadastros\` (#ZUL_VAR_dsDirTef): "DIRTEF.cds", the exchange root
 *   chosen last, as a one-record dataset with the string field DIRTEF.
 *
 * The host ships these directories with its installation; the package
 * creates them only under zul_SetHostDirectory() and zul_SetDriveRoot().
 * Beside them it reads "PARAMETROSQTR.CDS" (the host's parameter dataset:
 * the fiscal printer's serial number, field NRSERIEECF) and appends to the
 * card log "LogTef" + month + two-digit year + ".txt" (LogTef0726.txt), one
 * dated line per step. Every file is written whole under a temporary name
 * ("~" + its name + ".tmp") and then renamed, so that a power cut never
 * leaves half a file; the leftover scan (CheckIntPosFiles()) settles at the
 * next sale whatever a cut left open.
 */

/**
 * @defgroup zul_lists String lists
 * @brief Ordered lines of code page 1252 text behind a handle: receipts,
 * answers, described datasets.
 *
 * A list is saved with CR LF after each line and read with CR, LF or CR LF
 * as line ends. A manager's answer is one line per field, "NNN-NNN = value";
 * the receipts list DoTEF() hands back holds a line "1" and then every line
 * of the approved answer.
 *
 * @par Handles
 * A handle names one list until it is freed. It carries a generation: once
 * freed, the handle is refused (-1, #ZUL_E_ARGUMENT) by every routine, even
 * after its slot serves a new list. zul_ListFree(NULL) does nothing.
 *
 * @par Who owns which list
 * - zul_ListNew(): the host; it frees the list with zul_ListFree().
 * - DoTEF()'s receipts: the host. Every DoTEF() puts a new list into the
 *   variable it is given; what the variable held before is not read, not
 *   changed and not freed, so an earlier payment's list stays as that
 *   payment left it, for as long as the host keeps it. Free each list once
 *   with zul_ListFree(): the earlier payment's before the next payment (or
 *   whenever the host no longer needs it), the last after printing. A host
 *   that passes the same variable to every payment without freeing leaks a
 *   list per payment.
 * - zul_GetList() (#ZUL_VAR_stlCuponsTEF): the package's own; never freed by
 *   the host (zul_ListFree() refuses it).
 * - answers passed to VerificaRetorno(), ImprCupom() and the others: the
 *   caller's; the package only reads them.
 * @{
 */

/** @brief A string list handle: opaque, never dereferenced; null for none. */
typedef struct ZulListRec* ZulList;

/**
 * @brief A new, empty list, owned by the host.
 * @return its handle; null only when memory runs out (#ZUL_E_MEMORY), or when
 * a 32-bit process made four thousand million lists.
 */
ZUL_ROUTINE(ZulList, zul_ListNew, (void));
/**
 * @brief Frees a list the host owns. Null does nothing and returns 1.
 * @param list a live handle the host owns, or null.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a handle already freed, one that was
 * never a list, or the package's own list.
 */
ZUL_ROUTINE(int, zul_ListFree, (ZulList list));
/**
 * @brief The number of lines.
 * @param list a live handle.
 * @return the count; -1 (#ZUL_E_ARGUMENT) for a handle that is not a live list.
 */
ZUL_ROUTINE(int, zul_ListCount, (ZulList list));
/**
 * @brief One line, snprintf-style.
 * @param list a live handle.
 * @param index the line, counted from 0.
 * @param value a buffer for the line, or null to ask only for its length.
 * @param capacity the buffer's size in bytes, 0 with a null buffer.
 * @return the line's full length; -1 (#ZUL_E_ARGUMENT) for a bad handle or an
 * index outside the list. A line cut to fit a buffer notes
 * #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, zul_ListGet, (ZulList list, int index, char* value, int capacity));
/**
 * @brief Appends a line.
 * @param list a live handle the host may change (its own, or the package's).
 * @param line the text, without line end; null adds an empty line.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a bad handle.
 */
ZUL_ROUTINE(int, zul_ListAdd, (ZulList list, const char* line));
/**
 * @brief Removes every line.
 * @param list a live handle.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a bad handle.
 */
ZUL_ROUTINE(int, zul_ListClear, (ZulList list));
/**
 * @brief The whole list as one text, CR LF after each line, snprintf-style.
 * @param list a live handle.
 * @param value a buffer for the text, or null to ask only for its length.
 * @param capacity the buffer's size in bytes, 0 with a null buffer.
 * @return the text's full length; -1 (#ZUL_E_ARGUMENT) for a bad handle. A
 * text cut to fit a buffer notes #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, zul_ListText, (ZulList list, char* value, int capacity));
/**
 * @brief Replaces the lines with those of a text.
 * @param list a live handle.
 * @param text lines ended by CR, LF or CR LF; a last line needs no end.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a bad handle.
 */
ZUL_ROUTINE(int, zul_ListSetText, (ZulList list, const char* text));
/**
 * @brief Replaces the lines with those of a file, read the way the package
 * reads an answer.
 * @param list a live handle.
 * @param path the file, in Windows form (`c:\tef_dial\resp\intpos.001`) or the
 * platform's own.
 * @return 1; -1 with the list unchanged: #ZUL_E_FILE (missing or
 * unreadable), #ZUL_E_FILE_BUSY, #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, zul_ListLoadFromFile, (ZulList list, const char* path));
/**
 * @brief Writes the lines to a file, CR LF after each, in one step (a
 * reader never sees half of it).
 * @param list a live handle.
 * @param path the file, in Windows form or the platform's own; its directory
 * must exist.
 * @return 1; -1: #ZUL_E_FILE, #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, zul_ListSaveToFile, (ZulList list, const char* path));

/** @} */

/**
 * @defgroup zul_sale The sale
 * @brief Paying a sale by card or cheque.
 * @{
 */

/**
 * @brief One card or cheque payment of a sale: asks the manager, shows its
 * message, and hands the approval back.
 *
 * In order: settles what interrupted sales left behind (CheckIntPosFiles()),
 * chooses the exchange root for `kind` (CheckDirTef(), which may show the
 * network dialog), checks that the manager runs, writes the request "CRT"
 * ("CHQ" for a cheque) with a fresh sequence number and the amount in cents,
 * waits for the manager to take it and then for its answer, and shows the
 * manager's message (its field 030-000) to the operator.
 *
 * An approval with receipt lines fills the results, adds the approved amount
 * to #ZUL_VAR_doValorTef and puts the receipt block into `receipts`. When
 * `amountDue - amount` (cut to two decimals) is above zero the payment is
 * partial: its answer is kept as pending copy "intpos." + the transaction
 * number and confirmed to the manager at once; its receipt is printed with
 * the sale's last one. A payment that completes the sale stays unconfirmed
 * until ImprCupons() prints and confirms it. An approval without receipt
 * lines returns 1 with `approvedCount` 0 and changes no counter, list or
 * total: it is final and paid (#ZUL_OUTCOME_APPROVED_NO_RECEIPT says what the
 * host does).
 *
 * For an ordinary sale of 100.00 paid in two cards: `transactionNumber` and
 * #ZUL_VAR_doValorTef set to 0 before the first payment, then
 * `DoTEF(ctx, 40.00, 100.00, "C", &receipts, ...)`, zul_ListFree(receipts)
 * and `DoTEF(ctx, 60.00, 60.00, "C", &receipts, ...)`, then ImprCupons() and
 * zul_ListFree(receipts).
 *
 * After 0 or -1 no output stands for a payment: `receipts` is a new, empty
 * list, `approvedCount` 0 (1 only when an error came after the approval was
 * counted: its pending copy could not be written, and the next scan undoes
 * it), #ZUL_VAR_doValorTef unchanged; `extraAmount` and the four strings may
 * hold a refused answer's values. The host guide's section 4 has the table.
 *
 * @param context the host's own text for the operator dialogs of this sale,
 * passed unread to every ZulDialogProc call (its `context`); "" will do.
 * @param amount this payment, in currency units, above 0 (40.00); sent to the
 * manager in whole cents. One that is below 0.01 once in whole cents (0, a
 * negative amount, 0.004), NaN or infinite is refused: -1 with
 * #ZUL_E_ARGUMENT, nothing sent, written or logged.
 * @param amountDue what the sale still owes before this payment, in currency
 * units: the sale's total for its first payment. Refused as `amount` is.
 * @param kind one letter: "C" credit card (never asks for a network), "D"
 * debit card, "V" the third card type (the manager gets 1, 2 and 4 for these
 * three), "Q" cheque (the request "CHQ"), or another letter, which the
 * manager gets as a card of no given type. For "D",
 * "Q", "V" and other letters the operator picks the network when
 * `c:\tef_disc\` exists.
 * @param receipts out: a new list, the host's, holding after an approval
 * with receipt the line "1" and then every line of the answer, and nothing
 * otherwise; ImprCupons() prints it. What the variable held before is not
 * read and not freed (see @ref zul_lists): free the earlier list yourself.
 * The new list is handed back also when an error ends the call once the sale
 * has started; a call refused before it starts (#ZUL_E_ARGUMENT,
 * #ZUL_E_REENTRANT) leaves the variable as it was.
 * @param approvedCount out: 1 after an approval with receipt lines, else 0.
 * @param transactionNumber in and out: the sale's count of approvals with
 * receipt. 0 before the sale's first payment, then the same variable for
 * every payment: it grows by one with each, names the pending copy of a
 * partial payment, and is ImprCupons()'s `transactionCount`.
 * @param extraAmount out: 0, or the further amount the manager reports with
 * the approval (its field 709-000), in currency units.
 * @param documentNumber in and out: the transaction's document number (field
 * 012-000), needed to cancel it; keeps the caller's value when the answer
 * has none. Give it #ZUL_FIELD_CAPACITY bytes.
 * @param documentNumberCapacity its size in bytes.
 * @param field748 in and out: the first nine characters of field 748-000;
 * kept when absent. #ZUL_F748_CAPACITY bytes.
 * @param field748Capacity its size in bytes.
 * @param field013 in and out: field 013-000 as the manager wrote it (the
 * authorisation); kept when absent. #ZUL_FIELD_CAPACITY bytes.
 * @param field013Capacity its size in bytes.
 * @param field027 in and out: characters 13 to 23 of field 027-000; kept when
 * the answer has none. #ZUL_F027_CAPACITY bytes.
 * @param field027Capacity its size in bytes.
 * @return 1 approved; 0 not approved or not carried out (the leftovers could
 * not be settled, the operator closed the network dialog, the manager did
 * not answer the activity check or take the request, the manager's error
 * answer, a refusal: the operator has seen why; or a partial payment whose
 * confirmation the manager did not take in time, #ZUL_NOTE_WITHDRAWN: it
 * does not stand, is left out of the counts and #ZUL_VAR_doValorTef, and the
 * next scan undoes it); -1 an error. zul_LastOutcome() tells which: 1 with
 * #ZUL_OUTCOME_APPROVED or #ZUL_OUTCOME_APPROVED_NO_RECEIPT; 0 with
 * #ZUL_OUTCOME_REFUSED (and the network's code), #ZUL_OUTCOME_MANAGER_ERROR,
 * #ZUL_OUTCOME_NOT_ACTIVE, #ZUL_OUTCOME_NO_DIRECTORY,
 * #ZUL_OUTCOME_OPERATOR_STOPPED, #ZUL_OUTCOME_NETWORK_CLOSED,
 * #ZUL_OUTCOME_TILL_BUSY or #ZUL_OUTCOME_WITHDRAWN. Before anything is sent, -1 with
 * #ZUL_E_PENDING_SALE while `Dados\TefDisc\Pendente\` holds copies of
 * another sale's confirmed partial payments: those numbered above
 * `transactionNumber` (0 for a new sale, so any copy; 1 for a sale's second
 * payment, so `intpos.1` is its own).
 * @files reads DIRTEF.cds and PARAMETROSQTR.CDS, writes DIRTEF.cds; in the
 * root: `req\intpos.001`, `resp\intpos.sts`, `resp\intpos.001` (every response file
 * of the previous root is deleted first); a numbered backup of each answer in
 * `Dados\TefDisc\`; the pending copy of a partial payment; the card log.
 * @dialogs the network dialog (ZulNetworkChooserProc); the manager's message
 * (kind 0, `withReceipt` 1 for an approval with receipt); "GER_PDR_N_ATV"
 * (kind 3) when the manager does not answer; the cancellation notice of a
 * leftover not confirmed.
 * @printer none.
 * @waits up to 15.6 s for the activity check and again for the request to
 * be taken (and as long for each leftover the scan settles); then for the
 * answer without a time limit, running the message pump with `wait` 1 every
 * 250 ms; fixed pauses of 250 ms.
 * @errors #ZUL_E_FILE, #ZUL_E_FILE_BUSY, #ZUL_E_NUMBER (an amount in the
 * answer), #ZUL_E_DATASET, #ZUL_E_ARGUMENT, #ZUL_E_CALLBACK,
 * #ZUL_E_PENDING_SALE, #ZUL_NOTE_TRUNCATED, #ZUL_NOTE_WITHDRAWN.
 */
ZUL_ROUTINE(int, DoTEF,
            (const char* context, double amount, double amountDue, const char* kind, ZulList* receipts,
             int* approvedCount, int* transactionNumber, double* extraAmount, char* documentNumber,
             int documentNumberCapacity, char* field748, int field748Capacity, char* field013,
             int field013Capacity, char* field027, int field027Capacity));
/** @brief DoTEF() under its plain name: the same routine, the same
 * arguments (ZulFn_DoTEF). */
ZUL_API ZulFn_DoTEF DoTef;

/** @} */

/**
 * @defgroup zul_manager Talking to the manager
 * @brief The activity check, the confirmation of an answer and the leftover
 * scan.
 * @{
 */

/**
 * @brief Is the manager running? With "ATV", sends an activity request and
 * waits for the manager to acknowledge it; with another operation, only
 * waits for the acknowledgement of the request the caller just wrote.
 *
 * It first loads the fiscal printer's serial number from PARAMETROSQTR.CDS
 * while #ZUL_VAR_stNrSerie is empty, and the exchange root from DIRTEF.cds
 * when that file exists. With "ATV" it then empties the root's response
 * directory and writes the activity request. It reads and deletes every
 * status file that appears, until one's first line is "000-000 = " +
 * `operation`.
 * @param operation "ATV" for an activity check (exactly, in capitals), or the
 * code of the request just written: "CRT", "CHQ", "CNC", "CNF" or "NCN".
 * @param sequence a fresh sequence number (GetSequence()) for "ATV"; ignored
 * otherwise.
 * @return 1 acknowledged; 0 not within 15 seconds, or a status file that
 * could not be read (the operator has been told): zul_LastOutcome() gives
 * #ZUL_OUTCOME_NO_DIRECTORY when the root's `req\` or `resp\` folder does not
 * exist, else #ZUL_OUTCOME_NOT_ACTIVE.
 * @files reads PARAMETROSQTR.CDS and DIRTEF.cds; with "ATV" deletes every file
 * of `resp\` and writes `req\intpos.001`; reads and deletes `resp\intpos.sts`; the
 * card log.
 * @dialogs "GER_PDR_N_ATV" (kind 3) on 0.
 * @printer none.
 * @waits up to about 15.6 s, running the message pump with `wait` 0 every
 * 600 ms.
 * @errors #ZUL_E_FILE, #ZUL_E_DATASET (a dataset file that exists but cannot
 * be read), #ZUL_E_CALLBACK.
 */
ZUL_ROUTINE(int, CheckGPAtivo, (const char* operation, const char* sequence));
/**
 * @brief Confirms ("CNF") or does not confirm ("NCN") the transaction of an
 * answer to the manager of its network.
 *
 * An administrative answer with nothing to confirm (000-000 "ADM" with
 * 009-000 "FF"), and a sale answer without receipt (000-000 "CRT" with
 * 028-000 "0"), only empty the response and backup directories. Otherwise it
 * points the root at the answer's network (its field 010-000, which must be
 * there), checks the manager (going on whatever the check says), sends the
 * request with the answer's network, document number and field 027-000, and
 * waits for it to be taken. After a non-confirmation that was taken it
 * tells the operator the transaction was cancelled, with network, document
 * number and amount (#ZUL_VAR_stMensagem_Zul00500). The caller removes the
 * transaction's stored answers afterwards (DeleteIntPosFiles()).
 * @param context the host's context for the dialogs.
 * @param answer the manager's answer to the transaction; only read.
 * @param notConfirm 0 to confirm ("CNF": the receipt was printed), anything
 * else not to ("NCN": the transaction is undone).
 * @param unused not used; pass "".
 * @return 1 nothing to confirm, or the request was taken; 0 the answer has no
 * network name, or the manager did not take the request.
 * @files reads DIRTEF.cds, writes DIRTEF.cds; deletes `resp\intpos.001`,
 * `resp\intpos.sts` and their backups; writes `req\intpos.001` and, while it is
 * out, a note in `Dados\TefDisc\`; the card log.
 * @dialogs "GER_PDR_N_ATV" (kind 3) when the manager is silent; the
 * cancellation notice (kind 0) after a non-confirmation.
 * @printer none.
 * @waits up to about 15.6 s for the activity check and as long for the
 * request, pumping messages.
 * @errors #ZUL_E_FILE, #ZUL_E_NUMBER (the amount, when not confirming),
 * #ZUL_E_DATASET, #ZUL_E_ARGUMENT, #ZUL_E_CALLBACK.
 */
ZUL_ROUTINE(int, VerificaRetorno, (const char* context, ZulList answer, int notConfirm, const char* unused));
/**
 * @brief Settles the answers that interrupted sales left behind: the start
 * of day's leftover scan, also run by every DoTEF().
 *
 * Looks in the response directory of each root (`c:\tef_dial\`,
 * `c:\tef_disc\`, `c:\HiperTEF\`, in this order), or in the backup directory
 * when that one is empty, and sends each answer found its non-confirmation
 * (or confirmation) through VerificaRetorno(), deleting it once the manager
 * took it. A stray status file is deleted; an answer no manager can take (no
 * header, sequence or network) is moved to `Dados\TefDisc\Descartados\` and
 * logged; one the manager is still writing is left for the next scan; one
 * the till may not read is passed over and left where it is, with the note
 * #ZUL_NOTE_UNREADABLE beside the result. Leaves
 * #ZUL_VAR_DirTef at the last root looked at.
 * @param context the host's context for the dialogs.
 * @param notConfirm nonzero (the ordinary case) sends "NCN", 0 sends "CNF".
 * @return 1 every leftover was settled (or there was none:
 * #ZUL_OUTCOME_DONE); 0 a manager did not take one, which stays for the next
 * scan (zul_LastOutcome() says why); the later ones were not looked at. Beside either, #ZUL_NOTE_PENDING_SALE when the pending directory
 * holds confirmed partial payments of a sale not finished (print or cancel
 * them before the next sale).
 * @files the three roots' `resp\` and `req\` directories, `Dados\TefDisc\` and
 * `Dados\TefDisc\Descartados\`, DIRTEF.cds, the card log.
 * @dialogs those of VerificaRetorno() for each leftover.
 * @printer none.
 * @waits up to about 31 s per leftover, pumping messages; nothing when
 * there is none.
 * @errors #ZUL_E_FILE, #ZUL_E_FILE_BUSY, #ZUL_E_NUMBER, #ZUL_E_DATASET,
 * #ZUL_E_CALLBACK.
 */
ZUL_ROUTINE(int, CheckIntPosFiles, (const char* context, int notConfirm));

/** @} */

/**
 * @defgroup zul_store The store of answers
 * @brief Sequence numbers, backup names and the removal of a transaction's
 * stored answers.
 * @{
 */

/**
 * @brief A fresh sequence number: ten digits from the clock (sixtieths of a
 * second), the key of every file of one request.
 * @param sequence out: the number; #ZUL_SEQUENCE_CAPACITY bytes.
 * @param sequenceCapacity its size in bytes.
 * @return 1.
 * @files none. @dialogs none. @printer none. @waits none.
 * @errors #ZUL_E_ARGUMENT, #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, GetSequence, (char* sequence, int sequenceCapacity));
/**
 * @brief The path of the next free numbered backup in a directory:
 * "intpos." + one more than the highest number there ("intpos.1" when there
 * is none).
 * @param directory the directory, ending with a backslash (normally
 * #ZUL_VAR_dsDirBkpTef).
 * @param path out: the directory followed by the name; #ZUL_PATH_CAPACITY
 * bytes.
 * @param pathCapacity its size in bytes.
 * @return 1.
 * @files lists the directory. @dialogs none. @printer none. @waits none.
 * @errors #ZUL_E_ARGUMENT, #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, NewIntPosFileName, (const char* directory, char* path, int pathCapacity));
/**
 * @brief Deletes the "intpos.*" files of a directory that belong to one
 * transaction, or all of them.
 * @param directory the directory, ending with a backslash.
 * @param sequence the transaction's sequence (field 001-000): a file goes
 * when its text holds "001-000 = " + sequence; "" deletes every "intpos.*"
 * file.
 * @return 1; a file that cannot be deleted stays, silently.
 * @files reads and deletes the directory's "intpos.*" files (one another
 * program holds open is left for later). @dialogs none. @printer none.
 * @waits none.
 * @errors #ZUL_E_FILE (a matching entry that cannot be read, such as a
 * directory).
 */
ZUL_ROUTINE(int, DeleteIntPosFiles, (const char* directory, const char* sequence));

/** @} */

/**
 * @defgroup zul_printing Printing receipts
 * @brief The sale's receipts on the fiscal printer or the standard printer.
 *
 * Receipts are printed through the host's printer procedures
 * (@ref zul_callbacks). When one reports that the printer does not respond,
 * the operator is asked "Impressora não responde. Imprimir novamente?"
 * (message key "IMP_N_RESP", kind 3): yes prints again, no gives up. Lines go
 * to the printer three at a time; the host's message pump runs after every
 * line.
 *
 * The answer's receipt blocks: 028-000 counts the lines 029-001... of the
 * main receipt; 710-000/711-NNN and 712-000/713-NNN are alternative first
 * copies ("S" and "N" as copy choice), and 714-000/715-NNN is a second copy,
 * printed after a paper cut.
 * @{
 */

/**
 * @brief The sale's receipts: opens the voucher or report for the printer
 * type, then for each receipt checks the manager, confirms the transaction
 * ("CNF"), prints its receipt with ImprCupom(), closes, and removes its
 * answers.
 *
 * The saved receipts of the sale's earlier partial payments print before
 * the last one. Each transaction is confirmed *before* its receipt prints,
 * and the earlier partial payments were confirmed when they were paid: a 0
 * or -1 does not mean the sale is unpaid. After any result, zul_SalePayment()
 * tells for each payment of the sale whether it stands at the manager and
 * whether its receipt printed. The host reprints what stands and did not
 * print (ImprCupom() with the payment's answer) and asks again only for what
 * was undone; it never charges a confirmed payment again.
 *
 * When the voucher or report cannot be opened (printer types that open one)
 * and the operator says no, nothing is printed: the last payment gets its
 * non-confirmation (undone), the earlier partial payments stay confirmed,
 * and the routine returns 0 with #ZUL_OUTCOME_NOT_PRINTED. When a receipt
 * fails to print after its transaction was confirmed (any printer type,
 * type 0 and mode "N" included, which open nothing) and the operator says
 * no, the payments stay confirmed and unprinted: 0 with
 * #ZUL_OUTCOME_NOT_PRINTED. A confirmation the manager refuses (four times)
 * leaves that and every later receipt unprinted and its answer for the next
 * scan (#ZUL_OUTCOME_NOT_ACTIVE).
 *
 * Printer types that change the opening (mode "F"): 1, 2, 9 open a linked
 * non-fiscal voucher (Abre_Comp_NFiscalVinc); 14, 18, 19, 20, 27, 28, 31,
 * 32, 33, 34 the same when `voucher1` is not blank, a management report on a
 * retry; 24 a management report; 29 (framework) the command "AbreCCD"; 3, 4,
 * 5, 6, 17, 25 a non-linked voucher (Cupom_NFiscNVinc) with the keyboard and
 * mouse locked, left locked afterwards (DesbloqueiaTeclado()). Any other type
 * opens nothing.
 * @param receipts the receipts list DoTEF() handed back; only read.
 * @param receiptCount how many receipt blocks to print from it, counted from
 * "1": 1 for DoTEF()'s list.
 * @param transactionCount the sale's approvals with receipt (DoTEF()'s
 * `transactionNumber`): above 1, the saved receipts 1 to this number less one
 * print first, and the pending directory is emptied after printing.
 * @param printerType the fiscal printer's model code (see above); taken as 0
 * in mode "N".
 * @param voucher1 passed to the voucher opening: the last argument of
 * Abre_Comp_NFiscalVinc, the third of Cupom_NFiscNVinc; blank means no
 * voucher for the guarded types.
 * @param voucher2 passed to the voucher opening: its first 16 characters as
 * Abre_Comp_NFiscalVinc's second argument, whole as Cupom_NFiscNVinc's
 * fourth.
 * @param context the host's context: the first argument of every printer
 * procedure and of every dialog.
 * @param report1 the second argument of Relatorio_Gerencial_Imp.
 * @param report2 the third argument of Relatorio_Gerencial_Imp.
 * @param copyChoice "S" prints block 711 as the first copy when the answer
 * has it, "N" block 713; anything else the main block.
 * @param mode "F" the fiscal printer, "N" the standard printer (ImprimePadrao);
 * another letter prints nothing.
 * @param standard2 the second argument of ImprimePadrao.
 * @param standard1 the first argument of ImprimePadrao.
 * @param amount the sale's amount in currency units, for the voucher opening
 * (as 14 digits of cents, 13 for types 28 and 31); 0 or more. A negative
 * amount, NaN or infinity is refused (-1, #ZUL_E_ARGUMENT) before anything
 * is confirmed or printed.
 * @return 1 everything confirmed and printed (also for an empty list:
 * #ZUL_OUTCOME_DONE); 0 the operator gave up (#ZUL_OUTCOME_NOT_PRINTED), or
 * a confirmation failed (#ZUL_OUTCOME_NOT_ACTIVE, #ZUL_OUTCOME_WITHDRAWN,
 * #ZUL_OUTCOME_NO_DIRECTORY) or another till held the manager
 * (#ZUL_OUTCOME_TILL_BUSY); -1 an error (the run's end still ran). In every
 * case but the till's refusal, zul_SalePayment() tells where each payment
 * stands.
 * @files the answers' root directories and backups (removed after printing),
 * `Dados\TefDisc\Pendente\` (read, emptied), DIRTEF.cds, the card log.
 * @dialogs the printer question; those of CheckGPAtivo() and
 * VerificaRetorno(); "TimeOut" when the manager never takes a confirmation.
 * @printer Abre_Comp_NFiscalVinc, Cupom_NFiscNVinc, Relatorio_Gerencial_Imp,
 * GravaDocumentosNaoFiscais (#ZUL_VAR_stNrSerie, context, "CC", "", ""),
 * Usa_CompNFis, Guilhotina, FechRelatGerenc, Fecha_Comp_NFiscalVinc
 * (type 28), ImprimePadrao.
 * @waits about 15.6 s per receipt for the activity check and 15.6 s per
 * confirmation attempt; 5 s before a reprint.
 * @errors #ZUL_E_NO_PRINTER_PROC, #ZUL_E_CALLBACK, #ZUL_E_NUMBER (a line count
 * that is not a number: refused before the transaction is confirmed),
 * #ZUL_E_FILE, #ZUL_E_FILE_BUSY, #ZUL_E_DATASET, #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, ImprCupons,
            (ZulList receipts, int receiptCount, int transactionCount, int printerType, const char* voucher1,
             const char* voucher2, const char* context, const char* report1, const char* report2,
             const char* copyChoice, const char* mode, const char* standard2, const char* standard1,
             double amount));
/**
 * @brief After ImprCupons(), whatever its result: one payment of the sale it
 * printed, where it stands at the manager and whether its receipt printed.
 *
 * Payment 1 to n-1 are the sale's earlier partial payments (their pending
 * copies, as the run found them), then the receipts list's; the last is the
 * payment that completed the sale. A payment approved without receipt is
 * not among them (it is final, with nothing to print). The record stays
 * until the next ImprCupons(); `standing` is read afresh at every call, so
 * after a later scan an open payment shows as undone.
 *
 * The recovery after a 0 or -1 of ImprCupons(), once the printer is back:
 * @code
 * ZulList answer = zul_ListNew();
 * int i, standing, printed;
 * for (i = 1; zul_SalePayment(i, &standing, &printed, answer) == ZUL_TRUE; ++i) {
 *   if (standing == ZUL_PAYMENT_CONFIRMED && !printed)  // paid: print, never charge again
 *     ImprCupom("", "", ctx, "S", answer, 2, 1, printerType, 1, 1, "F", "", "");
 *   else if (standing != ZUL_PAYMENT_CONFIRMED)         // not paid: scan, then ask again
 *     still_due += amount_of(answer);
 * }
 * zul_ListFree(answer);
 * @endcode
 * @param index the payment, from 1.
 * @param standing out, or null: #ZUL_PAYMENT_CONFIRMED, #ZUL_PAYMENT_UNDONE
 * or #ZUL_PAYMENT_OPEN.
 * @param printed out, or null: 1 when its receipt printed whole, else 0.
 * @param answer a list of the host's (zul_ListNew()), or null: replaced by
 * the payment's answer lines, for ImprCupom() or CancelaTEF() (its amount is
 * field 003-000, in cents).
 * @return 1 there is such a payment; 0 there is none (`index` past the last,
 * or no printing run yet, or one another till kept out); -1 an error
 * (#ZUL_E_ARGUMENT: `answer` is not a live list).
 * @files reads the settlements' notes and marks in `Dados\TefDisc\`.
 * @dialogs none. @printer none. @waits none.
 * @errors #ZUL_E_ARGUMENT, #ZUL_E_FILE.
 */
ZUL_ROUTINE(int, zul_SalePayment, (int index, int* standing, int* printed, ZulList answer));
/**
 * @brief One transaction's receipt, into the document the caller opened (or
 * a management report of its own): the sale's saved receipts first, then
 * this one, one or two copies.
 *
 * Printer type 29 is handed to ImprCupom_FrameWork(). When a copy fails and
 * the operator says yes, a new management report is opened and everything
 * is printed again; after three failed reopenings, or a manager that does
 * not answer three activity checks, the routine gives up ("TimeOut").
 * @param report1 the second argument of Relatorio_Gerencial_Imp.
 * @param report2 the third argument of Relatorio_Gerencial_Imp.
 * @param context the host's context for the printer procedures and dialogs.
 * @param copyChoice "S" lets the first copy be block 711, "N" block 713.
 * @param answer the transaction's answer; only read.
 * @param frameworkCopies the number of copies for printer type 29 (callers
 * pass 2); other types take the copies from the answer.
 * @param transactionCount above 1, the saved receipts 1 to this number less
 * one (`Dados\TefDisc\Pendente\intpos.N`) print first.
 * @param printerType 29 the framework printer; 28 and 31 end each copy with
 * extra paper feeds; taken as 0 in mode "N".
 * @param ownDocument nonzero opens a management report first and closes it
 * at the end (mode "F"); 0 prints into the document already open.
 * @param skipSaved nonzero leaves the saved receipts out.
 * @param mode "F" the fiscal printer, "N" the standard printer.
 * @param standard2 the second argument of ImprimePadrao.
 * @param standard1 the first argument of ImprimePadrao.
 * @return 1 printed; 0 the operator gave up; -1 an error.
 * @files reads the pending copies. @dialogs the printer question; "TimeOut";
 * those of CheckGPAtivo().
 * @printer Usa_CompNFis, Guilhotina (when assigned), FechRelatGerenc,
 * Relatorio_Gerencial_Imp, ImprimePadrao; for type 29 those of
 * ImprCupom_FrameWork().
 * @waits 1 s or 5 s before a reprint, and the activity checks of a reprint.
 * @errors #ZUL_E_NO_PRINTER_PROC, #ZUL_E_CALLBACK, #ZUL_E_NUMBER (a line
 * count), #ZUL_E_FILE (a saved receipt missing), #ZUL_E_DATASET,
 * #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, ImprCupom,
            (const char* report1, const char* report2, const char* context, const char* copyChoice,
             ZulList answer, int frameworkCopies, int transactionCount, int printerType, int ownDocument,
             int skipSaved, const char* mode, const char* standard2, const char* standard1));
/**
 * @brief One transaction's receipt on the framework printer (type 29),
 * through the command form of Abre_Comp_NFiscalVinc ("CCD" with "AbreCCD",
 * "ImprimeCCD", "FechaCCD", "UsaRG").
 *
 * Hands over to ImprCupomRG_FrameWork() when the printer answers "UsaRG"
 * with 1, for a cancellation receipt ("CANCELAMENTO OK"), and for a reprint
 * of the current receipt.
 * @param report1 passed on to ImprCupomRG_FrameWork().
 * @param report2 passed on to ImprCupomRG_FrameWork().
 * @param context the first argument of every printer command and dialog.
 * @param copyChoice "S" lets the first copy be block 711, "N" block 713.
 * @param answer the transaction's answer; only read.
 * @param copies the number of copies (2 for a sale).
 * @param transactionCount above 1, the saved receipts print first.
 * @param printerType passed on to ImprCupomRG_FrameWork().
 * @param ownDocument nonzero opens and closes the voucher itself.
 * @param skipSaved nonzero leaves the saved receipts out.
 * @return 1 printed; 0 the operator gave up; -1 an error.
 * @files reads the pending copies. @dialogs the printer question; "TimeOut".
 * @printer Abre_Comp_NFiscalVinc (command form); those of
 * ImprCupomRG_FrameWork().
 * @waits the activity checks of a reprint.
 * @errors #ZUL_E_NO_PRINTER_PROC, #ZUL_E_CALLBACK, #ZUL_E_NUMBER, #ZUL_E_FILE,
 * #ZUL_E_DATASET, #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, ImprCupom_FrameWork,
            (const char* report1, const char* report2, const char* context, const char* copyChoice,
             ZulList answer, int copies, int transactionCount, int printerType, int ownDocument,
             int skipSaved));
/**
 * @brief One transaction's main receipt block as plain text on a management
 * report of the framework printer.
 * @param report1 the second argument of Relatorio_Gerencial_Imp.
 * @param report2 the third argument of Relatorio_Gerencial_Imp.
 * @param context the first argument of the printer procedures and dialogs.
 * @param answer the transaction's answer; only read.
 * @param copies the number of copies.
 * @param transactionCount above 1, the saved receipts print first.
 * @param printerType not used.
 * @param ownDocument nonzero opens the report first and closes it at the end.
 * @param skipSaved nonzero leaves the saved receipts out.
 * @return 1 printed; 0 the operator gave up; -1 an error.
 * @files reads the pending copies. @dialogs the printer question; "TimeOut".
 * @printer Relatorio_Gerencial_Imp, FechRelatGerenc, Usa_CompNFis.
 * @waits the activity checks of a reprint.
 * @errors #ZUL_E_NO_PRINTER_PROC, #ZUL_E_CALLBACK, #ZUL_E_NUMBER, #ZUL_E_FILE,
 * #ZUL_E_DATASET, #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, ImprCupomRG_FrameWork,
            (const char* report1, const char* report2, const char* context, ZulList answer, int copies,
             int transactionCount, int printerType, int ownDocument, int skipSaved));

/** @} */

/**
 * @defgroup zul_cancel Cancelling
 * @brief Undoing a transaction, the pending payments of an abandoned sale,
 * and the manager's answers of a sale.
 * @{
 */

/**
 * @brief Cancels one transaction: a "CNC" request to the manager of its
 * network, the manager's answer and message, and, when asked, the
 * cancellation receipt printed (ImprCupom()) and confirmed.
 *
 * The values of the transaction go into the request unchanged: take them
 * from its answer (the pending copy, or what DoTEF() returned). A printed
 * and confirmed cancellation also removes the transaction's pending copy
 * (found by `pendingSequence`). The cancellation's own files are removed in
 * every case.
 * @param report1 the second argument of Relatorio_Gerencial_Imp.
 * @param report2 the third argument of Relatorio_Gerencial_Imp.
 * @param context the host's context for the dialogs and printer procedures.
 * @param copyChoice "S" or "N", as for ImprCupom().
 * @param position the transaction's place among the sale's payments; not used.
 * @param transactionCount passed to ImprCupom() (it skips saved receipts
 * here).
 * @param printerType the fiscal printer's model code, as for ImprCupom().
 * @param pendingSequence the cancelled transaction's sequence (its 001-000):
 * its pending copy goes after a printed, confirmed cancellation; "" keeps
 * every pending copy.
 * @param unused not used; pass "".
 * @param amount the transaction's amount in cents as its answer gives it
 * (003-000, "4000" for 40.00): digits only, above 0, or the call is refused
 * (-1, #ZUL_E_ARGUMENT) before anything is sent.
 * @param network its network name (010-000): "TECBAN", "HCard" or another;
 * chooses the root, and #ZUL_VAR_DirTef keeps it.
 * @param documentNumber its document number (012-000).
 * @param field022 its field 022-000 ("" when absent).
 * @param field023 its field 023-000 ("" when absent).
 * @param mode "F" the fiscal printer, "N" the standard printer.
 * @param standard2 the second argument of ImprimePadrao.
 * @param standard1 the first argument of ImprimePadrao.
 * @param printAndConfirm nonzero prints the cancellation receipt and confirms
 * it ("NCN" when it did not print); 0 only shows the manager's message.
 * @return 1 the manager took the request and answered: zul_LastOutcome()
 * gives #ZUL_OUTCOME_CANCEL_APPROVED or #ZUL_OUTCOME_CANCEL_REFUSED (the
 * payment stands), or #ZUL_OUTCOME_NOT_PRINTED (the receipt did not print,
 * so the cancellation was undone: the payment stands); 0 the manager is not
 * active (#ZUL_OUTCOME_NOT_ACTIVE, #ZUL_OUTCOME_NO_DIRECTORY), answered with
 * its error answer (#ZUL_OUTCOME_MANAGER_ERROR), did not take the request,
 * or did not answer within 10 minutes ("TimeOut"), or it approved but did not
 * take the confirmation in time (#ZUL_NOTE_WITHDRAWN: the cancellation does
 * not stand, its printed receipt is void; scan, then cancel again).
 * @files DIRTEF.cds; the root's `req\` and `resp\`; backups; the pending copy;
 * the card log.
 * @dialogs "GER_PDR_N_ATV"; the manager's message (kind 0); the printer
 * question; the notice of VerificaRetorno(); "TimeOut".
 * @printer those of ImprCupom() with its own management report.
 * @waits 15.6 s twice, then up to 10 minutes for the answer, polling every
 * 50 ms without pumping messages (the host's windows do not repaint).
 * @errors #ZUL_E_FILE, #ZUL_E_FILE_BUSY, #ZUL_E_NUMBER, #ZUL_E_DATASET,
 * #ZUL_E_NO_PRINTER_PROC, #ZUL_E_CALLBACK, #ZUL_E_ARGUMENT (the amount).
 */
ZUL_ROUTINE(int, CancelaTEF,
            (const char* report1, const char* report2, const char* context, const char* copyChoice,
             int position, int transactionCount, int printerType, const char* pendingSequence,
             const char* unused, const char* amount, const char* network, const char* documentNumber,
             const char* field022, const char* field023, const char* mode, const char* standard2,
             const char* standard1, int printAndConfirm));
/**
 * @brief Deletes, from each network's response directory, the manager's
 * answers of every transaction in #ZUL_VAR_stlCuponsTEF, blocks "1" to
 * #ZUL_VAR_inContCuponsTEF. Sends nothing to the manager.
 * @param unused not used; pass 0.
 * @return 1.
 * @files DIRTEF.cds; the roots' `resp\` directories. @dialogs none. @printer
 * none. @waits none.
 * @errors #ZUL_E_FILE, #ZUL_E_CALLBACK (the translation of the network
 * dialog's form, which holds the datasets).
 */
ZUL_ROUTINE(int, CancelaTEFs, (int unused));
/**
 * @brief Undoes an abandoned sale: cancels every pending partial payment
 * (`Dados\TefDisc\Pendente\intpos.1` up to `transactionCount`) with
 * CancelaTEF(), printing and confirming each cancellation, pass after pass
 * until none is left.
 * @param report1 the second argument of Relatorio_Gerencial_Imp.
 * @param report2 the third argument of Relatorio_Gerencial_Imp.
 * @param context the host's context for the dialogs and printer procedures.
 * @param unused not used; pass "".
 * @param transactionCount the sale's approvals with receipt (DoTEF()'s
 * `transactionNumber`): the highest pending copy looked for.
 * @param printerType the fiscal printer's model code.
 * @param mode "F" the fiscal printer, "N" the standard printer.
 * @param standard2 the second argument of ImprimePadrao.
 * @param standard1 the first argument of ImprimePadrao.
 * @return 1 nothing pending any more (at once when nothing was); 0 a pass
 * removed nothing (a copy the manager keeps refusing, or one above the
 * count): the rest stays, listed in the card log.
 * @files the pending copies; those of CancelaTEF().
 * @dialogs those of CancelaTEF(), for every copy in every pass.
 * @printer those of CancelaTEF().
 * @waits those of CancelaTEF(), for every copy.
 * @errors #ZUL_E_FILE, #ZUL_E_FILE_BUSY, #ZUL_E_NUMBER, #ZUL_E_DATASET,
 * #ZUL_E_NO_PRINTER_PROC, #ZUL_E_CALLBACK.
 */
ZUL_ROUTINE(int, CancelaPendencia,
            (const char* report1, const char* report2, const char* context, const char* unused,
             int transactionCount, int printerType, const char* mode, const char* standard2,
             const char* standard1));

/** @} */

/**
 * @defgroup zul_network The network choice
 * @brief Which manager's exchange root a transaction uses.
 * @{
 */

/**
 * @brief The network for a payment kind: "2" (other networks) at once when
 * `kind` is "C" or `c:\tef_disc\` does not exist, else what the operator
 * picks in the network dialog.
 * @param kind the payment kind, as for DoTEF(); the dialog's caption is
 * "Cartão de Débito" for "D", "Consulta de Cheque" for "Q", "Funções
 * Administrativas" for "A".
 * @param choice out: "1" TecBan, "2" other networks, "3" Hipercard, "9" the
 * operator closed the dialog; #ZUL_CHOICE_CAPACITY bytes.
 * @param choiceCapacity its size in bytes.
 * @return 1.
 * @files tests that `c:\tef_disc\` exists. @dialogs the network dialog.
 * @printer none. @waits until the operator chooses.
 * @errors #ZUL_E_CALLBACK, #ZUL_E_ARGUMENT, #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, TipoRede, (const char* kind, char* choice, int choiceCapacity));
/**
 * @brief Chooses the exchange root for a payment kind (TipoRede()), and keeps
 * it: in #ZUL_VAR_DirTef, in `root` and in DIRTEF.cds. Stores `printerType`
 * in #ZUL_VAR_Zul_IdTipoImp.
 *
 * "1" and "9" give `c:\tef_disc\`, "2" `c:\tef_dial\`, "3" `c:\HiperTEF\`;
 * the root and the file are written also when the operator closed the
 * dialog.
 * @param root out: the root chosen; #ZUL_ROOT_CAPACITY bytes.
 * @param rootCapacity its size in bytes.
 * @param kind the payment kind, as for DoTEF().
 * @param printerType the fiscal printer's model code, kept for the host; DoTEF()
 * passes 0.
 * @return 1 chosen; 0 the operator closed the dialog.
 * @files writes `Dados\Cadastros\DIRTEF.cds`. @dialogs the network dialog.
 * @printer none. @waits until the operator chooses.
 * @errors #ZUL_E_FILE (`Dados\Cadastros\` missing, say), #ZUL_E_CALLBACK,
 * #ZUL_E_ARGUMENT, #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, CheckDirTef, (char* root, int rootCapacity, const char* kind, int printerType));

/** @} */

/**
 * @defgroup zul_support Log, input lock, load and unload
 * @brief The card log, the lock of keyboard and mouse, and the module's
 * entry points.
 * @{
 */

/**
 * @brief Appends a line to the month's card log: date and time, " - ", the
 * message.
 * @param message the text; "" gives a line ending with " - ".
 * @return 1.
 * @files appends to LogTef + MMYY + ".txt" in the host program's directory,
 * creating it.
 * @dialogs none. @printer none. @waits none.
 * @errors #ZUL_E_FILE.
 */
ZUL_ROUTINE(int, LogCartao, (const char* message));
/**
 * @brief Looks a function up by name in a system library, loading it.
 * @param library the library's name ("USER32.DLL").
 * @param function the function's name.
 * @param address out: the function, or null when the library loads but lacks
 * it; left as it was when the library cannot be loaded.
 * @return 1 found; 0 not found.
 * @files none. @dialogs none. @printer none. @waits none.
 * @errors #ZUL_E_ARGUMENT (a null `address`).
 */
ZUL_ROUTINE(int, DetectaFuncao, (const char* library, const char* function, void** address));
/**
 * @brief Locks keyboard and mouse input where the system can (BlockInput on
 * Windows; nothing elsewhere). Dialogs the package shows lift it while
 * they are up.
 * @return 1.
 * @files none. @dialogs none. @printer none. @waits none. @errors none.
 */
ZUL_ROUTINE(int, BloqueiaTeclado, (void));
/**
 * @brief Unlocks what BloqueiaTeclado() locked. A host that prints on a
 * printer of type 3, 4, 5, 6, 17 or 25 calls it after ImprCupons().
 * @return 1.
 * @files none. @dialogs none. @printer none. @waits none. @errors none.
 */
ZUL_ROUTINE(int, DesbloqueiaTeclado, (void));
/**
 * @brief What the module loader runs after loading the library: works out the
 * package's directories. Explicit calls are counted: only the first does
 * anything.
 * @return 1.
 * @files none. @dialogs none. @printer none. @waits none. @errors none.
 */
ZUL_ROUTINE(int, Initialize, (void));
/**
 * @brief What the module loader runs before unloading the library: empties
 * the package's strings. Only the call that balances the first Initialize()
 * does anything; at process exit nothing is done.
 * @return 1.
 * @files none. @dialogs none. @printer none. @waits none. @errors none.
 */
ZUL_ROUTINE(int, Finalize, (void));

/** @} */

/**
 * @defgroup zul_variables Exported variables
 * @brief The package's shared state, by name. Names match without regard to
 * letter case; the ZUL_VAR_ macros spell them.
 *
 * They live as long as the library is loaded: strings start empty, numbers
 * at 0. Finalize() empties the strings. Variables marked "the host's" are
 * storage the package offers and never touches except to empty it.
 * @{
 */

/**
 * @brief Reads a string variable, snprintf-style.
 * @param name a string variable's name (ZUL_VAR_...).
 * @param value a buffer for the text, or null to ask only for its length.
 * @param capacity the buffer's size in bytes, 0 with a null buffer.
 * @return the text's full length; -1 (#ZUL_E_ARGUMENT) for a name that is no
 * string variable. A text cut to fit notes #ZUL_NOTE_TRUNCATED.
 */
ZUL_ROUTINE(int, zul_GetStr, (const char* name, char* value, int capacity));
/**
 * @brief Writes a string variable.
 * @param name a string variable's name.
 * @param value the new text; null is "".
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a name that is no string variable.
 */
ZUL_ROUTINE(int, zul_SetStr, (const char* name, const char* value));
/**
 * @brief Reads an integer variable.
 * @param name an integer variable's name.
 * @param value out: its value.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for another name or a null `value`.
 */
ZUL_ROUTINE(int, zul_GetInt, (const char* name, int* value));
/**
 * @brief Writes an integer variable.
 * @param name an integer variable's name.
 * @param value the new value.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for another name.
 */
ZUL_ROUTINE(int, zul_SetInt, (const char* name, int value));
/**
 * @brief Reads a real variable.
 * @param name a real variable's name.
 * @param value out: its value.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for another name or a null `value`.
 */
ZUL_ROUTINE(int, zul_GetFloat, (const char* name, double* value));
/**
 * @brief Writes a real variable.
 * @param name a real variable's name.
 * @param value the new value.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for another name.
 */
ZUL_ROUTINE(int, zul_SetFloat, (const char* name, double value));
/**
 * @brief The handle of the package's own list #ZUL_VAR_stlCuponsTEF; always
 * the same handle. The host fills it (zul_ListAdd()) and never frees it.
 * @param name #ZUL_VAR_stlCuponsTEF.
 * @return the handle; null (#ZUL_E_ARGUMENT) for another name.
 */
ZUL_ROUTINE(ZulList, zul_GetList, (const char* name));

/** @brief String: the text of the last cancellation notice shown after a
 * non-confirmation (VerificaRetorno()). */
#define ZUL_VAR_stMensagem_Zul00500 "stMensagem_Zul00500"
/** @brief String: the pending directory, the host program's directory +
 * `\Dados\TefDisc\Pendente\`. Worked out again by every printing routine: a
 * value the host writes lasts until the next one. */
#define ZUL_VAR_dsDirPenTef "dsDirPenTef"
/** @brief String: the backup directory, the host program's directory +
 * `\Dados\TefDisc\`. */
#define ZUL_VAR_dsDirBkpTef "dsDirBkpTef"
/** @brief String: the registration-data directory, the host program's
 * directory + `\Dados\Cadastros`, without a final backslash; DIRTEF.cds lives
 * there. */
#define ZUL_VAR_dsDirTef "dsDirTef"
/** @brief String: the exchange root in use, `c:\tef_dial\`, `c:\tef_disc\` or
 * `c:\HiperTEF\` (empty until one is chosen or read from DIRTEF.cds). */
#define ZUL_VAR_DirTef "DirTef"
/** @brief String: the host's (a receipt number, say); the package never uses
 * it. */
#define ZUL_VAR_stNrCupom "stNrCupom"
/** @brief String: the fiscal printer's serial number, read by CheckGPAtivo()
 * from PARAMETROSQTR.CDS (field NRSERIEECF) while empty, passed to
 * GravaDocumentosNaoFiscais. */
#define ZUL_VAR_stNrSerie "stNrSerie"
/** @brief String: the host's; the package never uses it. */
#define ZUL_VAR_stArquivo "stArquivo"
/** @brief Integer: the number of transaction blocks in
 * #ZUL_VAR_stlCuponsTEF, for CancelaTEFs(); set by the host. */
#define ZUL_VAR_inContCuponsTEF "inContCuponsTEF"
/** @brief Integer: the printer type CheckDirTef() was given last (0 after
 * DoTEF()). */
#define ZUL_VAR_Zul_IdTipoImp "Zul_IdTipoImp"
/** @brief Integer: the host's; the package never uses it. */
#define ZUL_VAR_inContTransacoes "inContTransacoes"
/** @brief Integer: the host's; the package never uses it. */
#define ZUL_VAR_inSecTef "inSecTef"
/** @brief Real: the amount of the last approval with receipt, in currency
 * units; 0 from the start of each DoTEF(). */
#define ZUL_VAR_doTrocoTef "doTrocoTef"
/** @brief Real: the host's; the package never uses it. */
#define ZUL_VAR_doAPagar "doAPagar"
/** @brief Real: the total the sale's approvals with receipt added up, in
 * currency units. DoTEF() only adds to it (for a partial payment once its
 * confirmation was taken): the host sets it to 0 before each sale. */
#define ZUL_VAR_doValorTef "doValorTef"
/** @brief List (zul_GetList()): the sale's receipts in numbered blocks, as
 * DoTEF()'s receipts list holds one ("1", its lines, "2", its lines...), for
 * CancelaTEFs(); filled by the host. */
#define ZUL_VAR_stlCuponsTEF "stlCuponsTEF"

/** @} */

/* clang-format off */
/* (the table of the printer procedures below keeps one row per line) */
/**
 * @defgroup zul_callbacks The host's callbacks
 * @brief Printer procedures, dialogs, texts, the network dialog and the
 * message pump.
 *
 * Every callback gets back the `user` pointer given with it and runs on the
 * thread that called the package. Its texts are valid only during the call.
 * A callback that returns a negative number reports a failure: the package
 * raises an error (#ZUL_E_CALLBACK), and the routine that called it ends with
 * -1 after its own clean-up, as an exception raised in a Delphi host's
 * procedure would. From a callback the host may call only the readers named
 * under "Threads" at the top of this header; any other routine returns -1
 * with #ZUL_E_REENTRANT and does nothing. Setting a null callback puts the platform's default
 * back.
 *
 * @par Fiscal-printer procedures
 * The package prints through nine procedures of the host's printer packages.
 * Each returns 1 when done, 0 when the printer did not respond (the operator
 * is then asked whether to print again), negative on failure. "" stands
 * for an empty argument.
 * | Procedure | Type | Arguments | Called by |
 * |---|---|---|---|
 * | Fecha_Comp_NFiscalVinc | #ZulPrinterProc1 | context | ImprCupons() (type 28) |
 * | Usa_CompNFis | #ZulPrinterProc2 | "", text: up to three receipt lines, each ended by LF, or paper feed | every printing routine |
 * | Guilhotina | #ZulPrinterProc2 | context, "" | between copies; optional: unassigned cuts nothing |
 * | FechRelatGerenc | #ZulPrinterProc3 | context, "", "" | closes a management report |
 * | ImprimePadrao | #ZulPrinterProc3 | standard1, standard2, the whole text of a copy | mode "N" |
 * | Abre_Comp_NFiscalVinc | #ZulPrinterProc4 | context, voucher2 (16 characters), amount in cents (14 digits), voucher1; or context, "CCD", command, text for type 29 | ImprCupons(), ImprCupom_FrameWork() |
 * | Cupom_NFiscNVinc | #ZulPrinterProc5 | context, "00", voucher1 ("0000" for types 17 and 25), voucher2, "" | ImprCupons() |
 * | Relatorio_Gerencial_Imp | #ZulPrinterProc5 | context, report1, report2, "", "" | opens a management report |
 * | GravaDocumentosNaoFiscais | #ZulPrinterProc5 | serial (#ZUL_VAR_stNrSerie), context, "CC", "", "" | ImprCupons() after the opening |
 *
 * A procedure the routine needs that was never assigned ends it with -1
 * (#ZUL_E_NO_PRINTER_PROC), except Guilhotina.
 * @{
 */
/* clang-format on */

/**
 * @brief A printer procedure of one text argument (Fecha_Comp_NFiscalVinc).
 * @param user the pointer given with the procedure.
 * @param a1 the first argument.
 * @return 1 done, 0 the printer did not respond, negative a failure.
 */
typedef int(ZUL_CALL* ZulPrinterProc1)(void* user, const char* a1);
/**
 * @brief A printer procedure of two text arguments (Usa_CompNFis,
 * Guilhotina).
 * @param user the pointer given with the procedure.
 * @param a1 the first argument.
 * @param a2 the second argument.
 * @return 1 done, 0 the printer did not respond, negative a failure.
 */
typedef int(ZUL_CALL* ZulPrinterProc2)(void* user, const char* a1, const char* a2);
/**
 * @brief A printer procedure of three text arguments (FechRelatGerenc,
 * ImprimePadrao).
 * @param user the pointer given with the procedure.
 * @param a1 the first argument.
 * @param a2 the second argument.
 * @param a3 the third argument.
 * @return 1 done, 0 the printer did not respond, negative a failure.
 */
typedef int(ZUL_CALL* ZulPrinterProc3)(void* user, const char* a1, const char* a2, const char* a3);
/**
 * @brief A printer procedure of four text arguments (Abre_Comp_NFiscalVinc).
 * @param user the pointer given with the procedure.
 * @param a1 the first argument.
 * @param a2 the second argument.
 * @param a3 the third argument.
 * @param a4 the fourth argument.
 * @return 1 done, 0 the printer did not respond, negative a failure.
 */
typedef int(ZUL_CALL* ZulPrinterProc4)(void* user, const char* a1, const char* a2, const char* a3,
                                       const char* a4);
/**
 * @brief A printer procedure of five text arguments (Cupom_NFiscNVinc,
 * Relatorio_Gerencial_Imp, GravaDocumentosNaoFiscais).
 * @param user the pointer given with the procedure.
 * @param a1 the first argument.
 * @param a2 the second argument.
 * @param a3 the third argument.
 * @param a4 the fourth argument.
 * @param a5 the fifth argument.
 * @return 1 done, 0 the printer did not respond, negative a failure.
 */
typedef int(ZUL_CALL* ZulPrinterProc5)(void* user, const char* a1, const char* a2, const char* a3,
                                       const char* a4, const char* a5);

/**
 * @brief Assigns a printer procedure of one argument: Fecha_Comp_NFiscalVinc.
 * @param name the procedure's name (letter case does not matter).
 * @param fn the host's procedure; null leaves it unassigned.
 * @param user passed back to `fn` on every call.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a name that is no procedure of this
 * type (the text names the setter that takes it).
 */
ZUL_ROUTINE(int, zul_SetPrinterProc1, (const char* name, ZulPrinterProc1 fn, void* user));
/**
 * @brief Assigns a printer procedure of two arguments: Usa_CompNFis or
 * Guilhotina.
 * @param name the procedure's name (letter case does not matter).
 * @param fn the host's procedure; null leaves it unassigned.
 * @param user passed back to `fn` on every call.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a name that is no procedure of this
 * type.
 */
ZUL_ROUTINE(int, zul_SetPrinterProc2, (const char* name, ZulPrinterProc2 fn, void* user));
/**
 * @brief Assigns a printer procedure of three arguments: FechRelatGerenc or
 * ImprimePadrao.
 * @param name the procedure's name (letter case does not matter).
 * @param fn the host's procedure; null leaves it unassigned.
 * @param user passed back to `fn` on every call.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a name that is no procedure of this
 * type.
 */
ZUL_ROUTINE(int, zul_SetPrinterProc3, (const char* name, ZulPrinterProc3 fn, void* user));
/**
 * @brief Assigns a printer procedure of four arguments:
 * Abre_Comp_NFiscalVinc.
 * @param name the procedure's name (letter case does not matter).
 * @param fn the host's procedure; null leaves it unassigned.
 * @param user passed back to `fn` on every call.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a name that is no procedure of this
 * type.
 */
ZUL_ROUTINE(int, zul_SetPrinterProc4, (const char* name, ZulPrinterProc4 fn, void* user));
/**
 * @brief Assigns a printer procedure of five arguments: Cupom_NFiscNVinc,
 * Relatorio_Gerencial_Imp or GravaDocumentosNaoFiscais.
 * @param name the procedure's name (letter case does not matter).
 * @param fn the host's procedure; null leaves it unassigned.
 * @param user passed back to `fn` on every call.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for a name that is no procedure of this
 * type.
 */
ZUL_ROUTINE(int, zul_SetPrinterProc5, (const char* name, ZulPrinterProc5 fn, void* user));
/**
 * @brief Assigns any printer procedure, unchecked. Kept for old hosts: a
 * procedure of the wrong type compiles here and, with __stdcall on 32-bit
 * Windows, corrupts the stack when called. Use zul_SetPrinterProc1() to
 * zul_SetPrinterProc5().
 * @deprecated Use zul_SetPrinterProc1() to zul_SetPrinterProc5().
 * @param name the procedure's name (letter case does not matter).
 * @param fn the host's procedure, of the type the table above gives; null
 * leaves it unassigned.
 * @param user passed back to `fn` on every call.
 * @return 1; -1 (#ZUL_E_ARGUMENT) for an unknown name.
 */
ZUL_DEPRECATED_ROUTINE(int, zul_SetPrinterProc, (const char* name, void* fn, void* user),
                       "use zul_SetPrinterProc1 to zul_SetPrinterProc5");

/**
 * @brief The operator dialog: shows a message, or asks a yes/no question,
 * and returns when the operator closed it.
 * @param user the pointer given to zul_SetDialog().
 * @param text the message; lines separated by CR LF.
 * @param s2 always "".
 * @param s3 always "N".
 * @param yesNo "S" for a question whose answer counts (the printer question),
 * "N" for a message.
 * @param kind 0 the manager's message or a transaction's result, 3 a warning
 * or a question.
 * @param s6 always "".
 * @param context the context the host gave the routine that shows it ("" for
 * the activity check's warning).
 * @param withReceipt 1 for the manager's message about an approval with
 * receipt lines, else 0.
 * @param dataset always null.
 * @return for a question, 1 yes and 0 no; for a message, anything not
 * negative; negative a failure.
 */
typedef int(ZUL_CALL* ZulDialogProc)(void* user, const char* text, const char* s2, const char* s3,
                                     const char* yesNo, int kind, const char* s6, const char* context,
                                     int withReceipt, const void* dataset);
/**
 * @brief Sets the operator dialog. Default: a message box on Windows (Yes and
 * No for a question), the terminal elsewhere.
 * @param fn the host's dialog, or null for the default.
 * @param user passed back to `fn`.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetDialog, (ZulDialogProc fn, void* user));

/**
 * @brief Translates one visible text of the network dialog.
 *
 * Writes the text to show into `buffer` and returns its length; when that is
 * `capacity` or more, the package calls again with a buffer that fits.
 * @param user the pointer given to zul_SetTranslate().
 * @param name the control's name ("btnTecBan", "bbtEncerra"...), or
 * "frmCartaoDebito" for the dialog's caption.
 * @param text the text as designed.
 * @param buffer where to write the text to show, NUL-terminated.
 * @param capacity the buffer's size in bytes.
 * @return the length of the text to show; negative a failure.
 */
typedef int(ZUL_CALL* ZulTranslateProc)(void* user, const char* name, const char* text, char* buffer,
                                        int capacity);
/**
 * @brief Sets the translation of the network dialog. Default: the texts as
 * designed (Portuguese).
 * @param fn the host's translation, or null for the default.
 * @param user passed back to `fn`.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetTranslate, (ZulTranslateProc fn, void* user));

/**
 * @brief The text of a message-table key, to translate or replace the
 * package's own.
 *
 * Keys: "GER_PDR_N_ATV" (the manager is not active), "IMP_N_RESP" (the
 * printer question, also asked as "Imp_N_Resp": compare keys without regard
 * to case), "CANC_TRANS", "REDE", "DOC_NO" (the cancellation notice),
 * "CARTAO_DEB", "CONS_CHEQUE", "FUNC_ADM" (the network dialog's captions),
 * "TimeOut" (the manager did not answer in time). Same buffer protocol as
 * #ZulTranslateProc.
 * @param user the pointer given to zul_SetMessageText().
 * @param key the key, in the letter case the routine asks with.
 * @param tableText the package's own text for it.
 * @param buffer where to write the text, NUL-terminated.
 * @param capacity the buffer's size in bytes.
 * @return the text's length; negative a failure.
 */
typedef int(ZUL_CALL* ZulMessageTextProc)(void* user, const char* key, const char* tableText, char* buffer,
                                          int capacity);
/**
 * @brief Sets the message-table lookup. Default: the package's table, keys
 * matched without regard to case.
 * @param fn the host's lookup, or null for the default.
 * @param user passed back to `fn`.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetMessageText, (ZulMessageTextProc fn, void* user));

/**
 * @brief The network dialog: the operator picks the manager of a payment.
 * @param user the pointer given to zul_SetNetworkChooser().
 * @param caption the dialog's caption ("Cartão de Débito"...).
 * @return 1 TecBan, 2 other networks, 3 Hipercard, 9 closed (any other number
 * closes it too); negative a failure.
 */
typedef int(ZUL_CALL* ZulNetworkChooserProc)(void* user, const char* caption);
/**
 * @brief Sets the network dialog. Default: a window on Windows (keys 1, 2, 3,
 * 9 or Esc), the terminal elsewhere (closed when there is no terminal).
 * @param fn the host's dialog, or null for the default.
 * @param user passed back to `fn`.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetNetworkChooser, (ZulNetworkChooserProc fn, void* user));

/**
 * @brief The host's message loop, run by the package while it waits, so that
 * the host's windows repaint and its timers run.
 * @param user the pointer given to zul_SetMessagePump().
 * @param wait 0: handle every message already queued and return at once
 * (Delphi's Application.ProcessMessages); 1: handle one message, waiting for
 * one for at most about 250 ms (never block for good: the sale's answer wait
 * calls it in a loop).
 * @return anything not negative; negative a failure.
 */
typedef int(ZUL_CALL* ZulMessagePumpProc)(void* user, int wait);
/**
 * @brief Sets the message pump. Default: the calling thread's Windows message
 * queue (never waiting longer than 250 ms), nothing elsewhere. A console
 * host needs none.
 * @param fn the host's pump, or null for the default.
 * @param user passed back to `fn`.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetMessagePump, (ZulMessagePumpProc fn, void* user));

/**
 * @brief The package's own account of a file operation it made: told after
 * every file it wrote, appended to, renamed, read from its start or removed,
 * once the operation succeeded, on the thread that made it. A rehearsal
 * records the exchange with the manager from it, byte for byte, without
 * watching the folders.
 * @param user the pointer given to zul_SetFileObserver().
 * @param operation "write", "append", "rename", "read" or "remove".
 * @param path the file, as the package names it ("c:\tef_dial\req\intpos.001").
 * @param to a rename's new name; "" otherwise.
 * @param bytes what was written or read (not terminated; `length` bytes);
 * nothing for a rename or a removal.
 * @param length the count of `bytes`.
 * @param monotonic_ms the package's monotonic clock, in milliseconds, when
 * the operation had ended.
 * @return anything: the operation is done and stays done.
 */
typedef int(ZUL_CALL* ZulFileObserverProc)(void* user, const char* operation, const char* path, const char* to,
                                           const char* bytes, int length, double monotonic_ms);
/**
 * @brief Sets the file observer. Default: none. The observer must not call
 * the package's routines.
 * @param fn the observer, or null for none.
 * @param user passed back to `fn`.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetFileObserver, (ZulFileObserverProc fn, void* user));

/** @} */

/**
 * @defgroup zul_integrators For integrators
 * @brief Rehearsing on one machine: the drive root, the host directory and
 * a look into dataset files.
 * @{
 */

/**
 * @brief The folder in which drive letters live, so that the package touches
 * no real drive: `X:\a\b` is then `folder\x\a\b` (folder/x/a/b on Linux).
 *
 * On Windows the default is the real drives; a path that already lies under
 * the folder is used as it is. On Linux the default is $ZUL_DRIVE_ROOT, else
 * a per-user folder. The host program's directory is a drive path too: it
 * moves under the folder unless it lies there already, and the package
 * creates its `Dados\` directories there, whichever of this and
 * zul_SetHostDirectory() came first. Set it before the first sale.
 * @param folder the folder, in the platform's form (`Z:\work\drive`,
 * "/srv/pos"); "" for the default.
 * @return 1 (a directory that cannot be created shows at the first routine
 * that needs it).
 */
ZUL_ROUTINE(int, zul_SetDriveRoot, (const char* folder));
/**
 * @brief Makes the package work as if loaded by a program in `directory`:
 * its `Dados\` directories and card log move there (under the drive root when
 * one is set and the directory lies outside it), and it creates the `Dados\`
 * directories.
 * @param directory the directory, in Windows or the platform's form; "" for
 * the real program's.
 * @return 1.
 */
ZUL_ROUTINE(int, zul_SetHostDirectory, (const char* directory));
/**
 * @brief What the package reads from a dataset file (binary or XML packet,
 * such as PARAMETROSQTR.CDS or DIRTEF.cds).
 *
 * Replaces the lines of `lines` with "format=binary" or "format=xml",
 * "fields=" and the field names, "records=" and the count of the current
 * view, then "R.FIELD=value" for every record R (from 1) and field.
 * @param path the file, in Windows or the platform's form.
 * @param lines a live list the host owns.
 * @return 1; -1 with the list unchanged: #ZUL_E_FILE, #ZUL_E_DATASET,
 * #ZUL_E_ARGUMENT.
 */
ZUL_ROUTINE(int, zul_DescribeDataSet, (const char* path, ZulList lines));

/** @} */

#ifdef __cplusplus
}
#endif

#endif /* PKG_ZUL00500_H */
