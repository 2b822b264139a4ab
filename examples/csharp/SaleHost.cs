// A small point-of-sale host in C#: a sale of 100.00 paid by card in two
// payments (40.00 and 60.00), the receipts printed on a "printer" that writes
// to the console. Loads Pkg_Zul00500 by name through DllImport.
// docs/host-guide.md tells the order of calls for a whole day at the till.
//
//   mono sale_host.exe DRIVE_ROOT HOST_DIR   (what an integrator's test machine sets)
using System;
using System.Collections.Generic;
using System.Runtime.InteropServices;
using Pkg_Zul00500;

public static class SaleHost
{
    const string Context = "csharp-host";

    // The package calls these for as long as it runs: they stay referenced.
    static readonly List<Delegate> Callbacks = new List<Delegate>();

    static int PrintText(IntPtr user, IntPtr zero, IntPtr text)
    {
        Console.Write(Zul.Text(text));
        return Zul.True;
    }

    static int Note(IntPtr user, IntPtr first)
    {
        Console.WriteLine("[printer] " + Zul.Text(user) + " " + Zul.Text(first));
        return Zul.True;
    }

    // The procedure's name, kept for the life of the program, is its user pointer.
    static IntPtr UserOf(string name, Delegate callback)
    {
        Callbacks.Add(callback);
        return Marshal.StringToHGlobalAnsi(name);
    }

    // Each procedure through the setter of its type: the compiler checks it.
    static void Connect(string name, ZulPrinterProc1 fn) { Connected(Zul.zul_SetPrinterProc1(Zul.Text(name), fn, UserOf(name, fn)), name); }
    static void Connect(string name, ZulPrinterProc2 fn) { Connected(Zul.zul_SetPrinterProc2(Zul.Text(name), fn, UserOf(name, fn)), name); }
    static void Connect(string name, ZulPrinterProc3 fn) { Connected(Zul.zul_SetPrinterProc3(Zul.Text(name), fn, UserOf(name, fn)), name); }
    static void Connect(string name, ZulPrinterProc4 fn) { Connected(Zul.zul_SetPrinterProc4(Zul.Text(name), fn, UserOf(name, fn)), name); }
    static void Connect(string name, ZulPrinterProc5 fn) { Connected(Zul.zul_SetPrinterProc5(Zul.Text(name), fn, UserOf(name, fn)), name); }

    static void Connected(int result, string name)
    {
        Check(result == Zul.True, "zul_SetPrinterProc " + name);
    }

    static void Check(bool condition, string what)
    {
        if (condition) return;
        Console.WriteLine("FAILED: " + what + " (" + Zul.ErrorName(Zul.zul_LastErrorCode()) + ") " + Zul.LastError());
        Environment.Exit(1);
    }

    public static int Main(string[] args)
    {
        Check(args.Length == 2, "usage: sale_host DRIVE_ROOT HOST_DIR");
        // A library older than this class, or of another major version, lacks
        // what the host was written for.
        int loaded = Zul.zul_VersionNumber();
        Check(loaded / 10000 == Zul.VersionMajor && loaded >= Zul.VersionNumber, "the library's version");
        Zul.zul_SetDriveRoot(Zul.Text(args[0]));
        Zul.zul_SetHostDirectory(Zul.Text(args[1]));

        Connect("Abre_Comp_NFiscalVinc", new ZulPrinterProc4((u, a, b, c, d) => Note(u, b)));
        Connect("Usa_CompNFis", new ZulPrinterProc2(PrintText));
        Connect("Cupom_NFiscNVinc", new ZulPrinterProc5((u, a, b, c, d, e) => Note(u, a)));
        Connect("Relatorio_Gerencial_Imp", new ZulPrinterProc5((u, a, b, c, d, e) => Note(u, a)));
        Connect("GravaDocumentosNaoFiscais", new ZulPrinterProc5((u, a, b, c, d, e) => Note(u, a)));
        Connect("FechRelatGerenc", new ZulPrinterProc3((u, a, b, c) => Note(u, a)));
        Connect("ImprimePadrao", new ZulPrinterProc3((u, a, b, c) => Note(u, a)));
        Connect("Guilhotina", new ZulPrinterProc2((u, a, b) => Note(u, a)));
        Connect("Fecha_Comp_NFiscalVinc", new ZulPrinterProc1(Note));

        ZulDialogProc dialog = (u, text, s2, s3, yesNo, kind, s6, context, receiptLines, dataset) => {
            Console.WriteLine("[dialog] " + Zul.Text(text));
            // A sale that goes through asks nothing; any question gets no.
            return Zul.Text(yesNo) == "S" ? Zul.False : Zul.True;
        };
        ZulNetworkChooserProc chooser = (u, caption) => {
            Console.WriteLine("[network dialog] " + Zul.Text(caption) + ": other networks");
            return 2;
        };
        // A console program has no window messages to handle.
        ZulMessagePumpProc pump = (u, wait) => Zul.True;
        Callbacks.AddRange(new Delegate[] {dialog, chooser, pump});
        Zul.zul_SetDialog(dialog, IntPtr.Zero);
        Zul.zul_SetNetworkChooser(chooser, IntPtr.Zero);
        Zul.zul_SetMessagePump(pump, IntPtr.Zero);

        // The network for a debit card: the operator picks it.
        byte[] root = Zul.Buffer(Zul.RootCapacity);
        Check(Zul.CheckDirTef(root, root.Length, Zul.Text("D"), 0) == Zul.True, "CheckDirTef");
        Console.WriteLine("network: " + Zul.Text(root));

        // The sale: 100.00 in two card payments. Each DoTEF puts a new list
        // into receipts, ours to free: the earlier payment's goes before the
        // next payment, the last one after printing.
        IntPtr receipts = IntPtr.Zero;
        int approved = 0, transaction = 0, withReceipt = 0;
        double extra = 0, due = 100.00;
        Zul.zul_SetFloat(Zul.Text("doValorTef"), 0);
        foreach (double amount in new[] {40.00, 60.00})
        {
            byte[] document = Zul.Buffer(Zul.FieldCapacity), f748 = Zul.Buffer(Zul.F748Capacity);
            byte[] f013 = Zul.Buffer(Zul.FieldCapacity), f027 = Zul.Buffer(Zul.F027Capacity);
            Zul.zul_ListFree(receipts); // the earlier payment's list (zero the first time)
            receipts = IntPtr.Zero;
            int result = Zul.DoTEF(Zul.Text(Context), amount, due, Zul.Text("C"), ref receipts, ref approved,
                                   ref transaction, ref extra, document, document.Length, f748, f748.Length, f013,
                                   f013.Length, f027, f027.Length);
            Check(result == Zul.True && approved == 1, "DoTEF");
            Console.WriteLine(String.Format("payment {0}: {1:F2} approved, document {2}, authorization {3}",
                                            transaction, amount, Zul.Text(document), Zul.Text(f013)));
            withReceipt += approved;
            due -= amount;
        }
        double paid = 0;
        Zul.zul_GetFloat(Zul.Text("doValorTef"), ref paid);
        Check(Math.Abs(paid - 100.00) < 0.005, "doValorTef");

        byte[] none = Zul.Text("");
        Check(Zul.ImprCupons(receipts, 1, withReceipt, 0, none, none, Zul.Text(Context), none, none, Zul.Text("S"),
                             Zul.Text("F"), none, none, paid) == Zul.True,
              "ImprCupons");
        Zul.zul_ListFree(receipts);
        Console.WriteLine("result=ok");
        return 0;
    }
}
