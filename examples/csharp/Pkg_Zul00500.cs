// Pkg_Zul00500: card payments for the point of sale. The declarations of the
// package's C interface (include/Pkg_Zul00500.h) for .NET and Mono hosts, one
// to one: the same names, parameters in the same order.
//
// Text is code page 1252 on both sides of the interface, whatever the
// machine's code page: strings go in as byte arrays made by Zul.Text and come
// back through Zul.Text(byte[]) or Zul.Text(IntPtr). A string passed by
// reference is a buffer and its capacity in bytes, the terminating NUL
// included. Results: 1 true, 0 false, -1 an error (zul_LastErrorCode() and
// Zul.LastError tell which).
// Callbacks get back the user pointer given with them; a negative result is
// the host's failure. Keep every delegate handed to the package referenced
// for as long as the package may call it. Everything runs on the host's
// user-interface thread. Every DoTEF puts a new list into its receipts
// variable, the host's from then on; the list the variable held before is
// not freed and stays as it was. Free each list with zul_ListFree once it is
// no longer needed.
using System;
using System.Runtime.InteropServices;
using System.Text;

namespace Pkg_Zul00500
{
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulPrinterProc1(IntPtr user, IntPtr a1);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulPrinterProc2(IntPtr user, IntPtr a1, IntPtr a2);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulPrinterProc3(IntPtr user, IntPtr a1, IntPtr a2, IntPtr a3);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulPrinterProc4(IntPtr user, IntPtr a1, IntPtr a2, IntPtr a3, IntPtr a4);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulPrinterProc5(IntPtr user, IntPtr a1, IntPtr a2, IntPtr a3, IntPtr a4, IntPtr a5);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulDialogProc(IntPtr user, IntPtr text, IntPtr s2, IntPtr s3, IntPtr yesNo, int kind,
                                      IntPtr s6, IntPtr context, int withReceipt, IntPtr dataset);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulTranslateProc(IntPtr user, IntPtr name, IntPtr text, IntPtr buffer, int capacity);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulMessageTextProc(IntPtr user, IntPtr key, IntPtr tableText, IntPtr buffer, int capacity);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulNetworkChooserProc(IntPtr user, IntPtr caption);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulMessagePumpProc(IntPtr user, int wait);
    [UnmanagedFunctionPointer(CallingConvention.Winapi)]
    public delegate int ZulFileObserverProc(IntPtr user, IntPtr operation, IntPtr path, IntPtr to, IntPtr bytes,
                                            int length, double monotonicMs);

    public static class Zul
    {
        // "Pkg_Zul00500.dll" on Windows, "libPkg_Zul00500.so" elsewhere.
        public const string Library = "Pkg_Zul00500";
        private const CallingConvention Call = CallingConvention.Winapi;

        public const int VersionMajor = 0, VersionMinor = 1, VersionPatch = 0;
        // The version this class was written for; compare zul_VersionNumber() at load.
        public const int VersionNumber = VersionMajor * 10000 + VersionMinor * 100 + VersionPatch;
        // 1 in a released package's class, 0 between releases.
        public const int Release = 0;

        public const int True = 1, False = 0, Error = -1;
        // zul_LastErrorCode(): below 100 with a -1 result, from 100 a note beside a 1 or 0.
        public const int Ok = 0, EFile = 1, EFileBusy = 2, ENumber = 3, EDataset = 4, EArgument = 5,
                         ECallback = 6, ENoPrinterProc = 7, EMemory = 8, EOther = 9, EReentrant = 10,
                         EPendingSale = 11, NoteTruncated = 100, NoteTillBusy = 101, NoteProblem = 102,
                         NotePendingSale = 103, NoteWithdrawn = 104, NoteUnreadable = 105;
        // zul_LastOutcome(): what the manager, the network or the operator decided, beside the 1 or 0.
        public const int OutcomeNone = 200, OutcomeDone = 201, OutcomeApproved = 202,
                         OutcomeApprovedNoReceipt = 203, OutcomeRefused = 204, OutcomeManagerError = 205,
                         OutcomeNotActive = 206, OutcomeNoDirectory = 207, OutcomeOperatorStopped = 208,
                         OutcomeNetworkClosed = 209, OutcomeTillBusy = 210, OutcomeCancelApproved = 211,
                         OutcomeCancelRefused = 212, OutcomeWithdrawn = 213, OutcomeNotPrinted = 214;
        // zul_SalePayment()'s standing.
        public const int PaymentOpen = 0, PaymentConfirmed = 1, PaymentUndone = 2;
        public const int RootCapacity = 16, ChoiceCapacity = 2, SequenceCapacity = 11, F748Capacity = 11,
                         F027Capacity = 12, FieldCapacity = 256, PathCapacity = 1024;

        // --- the package's routines -------------------------------------------------
        // DoTef, the same routine as DoTEF under its plain name, needs no
        // declaration of its own: DoTEF serves for both.

        [DllImport(Library, CallingConvention = Call)]
        public static extern int DoTEF(byte[] context, double amount, double amountDue, byte[] kind,
                                       ref IntPtr receipts, ref int approvedCount, ref int transactionNumber,
                                       ref double extraAmount, [In, Out] byte[] documentNumber,
                                       int documentNumberCapacity, [In, Out] byte[] field748, int field748Capacity,
                                       [In, Out] byte[] field013, int field013Capacity, [In, Out] byte[] field027,
                                       int field027Capacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int CheckGPAtivo(byte[] operation, byte[] sequence);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int VerificaRetorno(byte[] context, IntPtr answer, int notConfirm, byte[] unused);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int CheckIntPosFiles(byte[] context, int notConfirm);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int GetSequence([In, Out] byte[] sequence, int sequenceCapacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int NewIntPosFileName(byte[] directory, [In, Out] byte[] path, int pathCapacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int DeleteIntPosFiles(byte[] directory, byte[] sequence);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int ImprCupons(IntPtr receipts, int receiptCount, int transactionCount, int printerType,
                                            byte[] voucher1, byte[] voucher2, byte[] context, byte[] report1,
                                            byte[] report2, byte[] copyChoice, byte[] mode, byte[] standard2,
                                            byte[] standard1, double amount);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SalePayment(int index, ref int standing, ref int printed, IntPtr answer);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int ImprCupom(byte[] report1, byte[] report2, byte[] context, byte[] copyChoice,
                                           IntPtr answer, int frameworkCopies, int transactionCount, int printerType,
                                           int ownDocument, int skipSaved, byte[] mode, byte[] standard2,
                                           byte[] standard1);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int ImprCupom_FrameWork(byte[] report1, byte[] report2, byte[] context, byte[] copyChoice,
                                                     IntPtr answer, int copies, int transactionCount, int printerType,
                                                     int ownDocument, int skipSaved);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int ImprCupomRG_FrameWork(byte[] report1, byte[] report2, byte[] context, IntPtr answer,
                                                       int copies, int transactionCount, int printerType,
                                                       int ownDocument, int skipSaved);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int CancelaTEF(byte[] report1, byte[] report2, byte[] context, byte[] copyChoice,
                                            int position, int transactionCount, int printerType,
                                            byte[] pendingSequence, byte[] unused, byte[] amount, byte[] network,
                                            byte[] documentNumber, byte[] field022, byte[] field023, byte[] mode,
                                            byte[] standard2, byte[] standard1, int printAndConfirm);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int CancelaTEFs(int unused);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int CancelaPendencia(byte[] report1, byte[] report2, byte[] context, byte[] unused,
                                                  int transactionCount, int printerType, byte[] mode,
                                                  byte[] standard2, byte[] standard1);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int TipoRede(byte[] kind, [In, Out] byte[] choice, int choiceCapacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int CheckDirTef([In, Out] byte[] root, int rootCapacity, byte[] kind, int printerType);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int LogCartao(byte[] message);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int DetectaFuncao(byte[] library, byte[] function, ref IntPtr address);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int BloqueiaTeclado();
        [DllImport(Library, CallingConvention = Call)]
        public static extern int DesbloqueiaTeclado();
        [DllImport(Library, CallingConvention = Call)]
        public static extern int Initialize();
        [DllImport(Library, CallingConvention = Call)]
        public static extern int Finalize();

        // --- helpers ------------------------------------------------------------------

        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_Version([In, Out] byte[] value, int capacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_VersionNumber();
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_LastError([In, Out] byte[] value, int capacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_LastErrorCode();
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_LastOutcome(byte[] networkCode, int capacity);
        // A static text of the package: read it with Text(IntPtr), never free it.
        [DllImport(Library, CallingConvention = Call)]
        public static extern IntPtr zul_ErrorName(int code);
        [DllImport(Library, CallingConvention = Call)]
        public static extern IntPtr zul_ListNew();
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListFree(IntPtr list);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListCount(IntPtr list);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListGet(IntPtr list, int index, [In, Out] byte[] value, int capacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListAdd(IntPtr list, byte[] line);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListClear(IntPtr list);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListText(IntPtr list, [In, Out] byte[] value, int capacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListSetText(IntPtr list, byte[] text);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListLoadFromFile(IntPtr list, byte[] path);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_ListSaveToFile(IntPtr list, byte[] path);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_GetStr(byte[] name, [In, Out] byte[] value, int capacity);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetStr(byte[] name, byte[] value);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_GetInt(byte[] name, ref int value);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetInt(byte[] name, int value);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_GetFloat(byte[] name, ref double value);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetFloat(byte[] name, double value);
        [DllImport(Library, CallingConvention = Call)]
        public static extern IntPtr zul_GetList(byte[] name);
        // One setter per procedure type: a delegate of the wrong type does not compile.
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetPrinterProc1(byte[] name, ZulPrinterProc1 fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetPrinterProc2(byte[] name, ZulPrinterProc2 fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetPrinterProc3(byte[] name, ZulPrinterProc3 fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetPrinterProc4(byte[] name, ZulPrinterProc4 fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetPrinterProc5(byte[] name, ZulPrinterProc5 fn, IntPtr user);
        [Obsolete("use zul_SetPrinterProc1 to zul_SetPrinterProc5")]
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetPrinterProc(byte[] name, IntPtr fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetDialog(ZulDialogProc fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetTranslate(ZulTranslateProc fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetMessageText(ZulMessageTextProc fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetNetworkChooser(ZulNetworkChooserProc fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetMessagePump(ZulMessagePumpProc fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetFileObserver(ZulFileObserverProc fn, IntPtr user);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetDriveRoot(byte[] folder);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_SetHostDirectory(byte[] directory);
        [DllImport(Library, CallingConvention = Call)]
        public static extern int zul_DescribeDataSet(byte[] path, IntPtr lines);

        // --- code page 1252 -------------------------------------------------------------

        // 0x80 to 0x9F, where code page 1252 differs from Latin-1 (0 where unused).
        private static readonly char[] High = {
            '\u20AC', '\0', '\u201A', '\u0192', '\u201E', '\u2026', '\u2020', '\u2021', '\u02C6', '\u2030',
            '\u0160', '\u2039', '\u0152', '\0', '\u017D', '\0', '\0', '\u2018', '\u2019', '\u201C', '\u201D',
            '\u2022', '\u2013', '\u2014', '\u02DC', '\u2122', '\u0161', '\u203A', '\u0153', '\0', '\u017E',
            '\u0178'};

        // A NUL-terminated text for the package; characters the code page
        // lacks become "?".
        public static byte[] Text(string text)
        {
            var bytes = new byte[text.Length + 1];
            for (int i = 0; i < text.Length; ++i) bytes[i] = Byte(text[i]);
            return bytes;
        }

        // A buffer of `capacity` bytes holding `text`, for a string by reference.
        public static byte[] Buffer(int capacity, string text = "")
        {
            var buffer = new byte[capacity];
            Array.Copy(Text(text), buffer, Math.Min(text.Length, capacity - 1));
            return buffer;
        }

        // The text up to the first NUL.
        public static string Text(byte[] bytes)
        {
            var text = new StringBuilder();
            foreach (byte b in bytes)
            {
                if (b == 0) break;
                text.Append(Char(b));
            }
            return text.ToString();
        }

        // The text a callback got.
        public static string Text(IntPtr pointer)
        {
            var text = new StringBuilder();
            if (pointer == IntPtr.Zero) return "";
            for (int i = 0;; ++i)
            {
                byte b = Marshal.ReadByte(pointer, i);
                if (b == 0) break;
                text.Append(Char(b));
            }
            return text.ToString();
        }

        public static string LastError()
        {
            var buffer = new byte[zul_LastError(null, 0) + 1];
            zul_LastError(buffer, buffer.Length);
            return Text(buffer);
        }

        // "ZUL_E_FILE" for EFile.
        public static string ErrorName(int code)
        {
            return Text(zul_ErrorName(code));
        }

        private static char Char(byte b)
        {
            if (b >= 0x80 && b <= 0x9F && High[b - 0x80] != '\0') return High[b - 0x80];
            return (char)b;
        }

        private static byte Byte(char c)
        {
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return (byte)c;
            int at = Array.IndexOf(High, c);
            return at >= 0 && c != '\0' ? (byte)(0x80 + at) : (byte)'?';
        }
    }
}
