/*
 * A small point-of-sale host in C: a sale of 100.00 paid by card in two
 * payments (40.00 and 60.00), the receipts printed on a "printer" that writes
 * to the console. It loads the package at run time by name, as a host that
 * ships it beside itself does, and calls only the C interface.
 *
 *   sale_host LIBRARY DRIVE_ROOT HOST_DIR
 *
 * LIBRARY is the library's file name (libPkg_Zul00500.so, Pkg_Zul00500.dll)
 * or path; DRIVE_ROOT and HOST_DIR are what an integrator's test machine
 * sets ("" for the package's default drive root: the real drives on
 * Windows).
 *
 * docs/host-guide.md tells the order of calls for a whole day at the till;
 * the reference (share/doc/zul00500/html) documents every routine.
 */
#include <math.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#define LOAD(name) ((void*)LoadLibraryA(name))
#define FIND(library, name) ((void*)GetProcAddress((HMODULE)(library), name))
#define UNLOAD(library) FreeLibrary((HMODULE)(library))
#else
#include <dlfcn.h>
#define LOAD(name) dlopen(name, RTLD_NOW | RTLD_LOCAL)
#define FIND(library, name) dlsym(library, name)
#define UNLOAD(library) dlclose(library)
#endif

#include "Pkg_Zul00500.h"

/* The routines this host uses, found by name. */
static struct {
  ZulFn_DoTEF* DoTEF;
  ZulFn_CheckDirTef* CheckDirTef;
  ZulFn_ImprCupons* ImprCupons;
  ZulFn_zul_VersionNumber* zul_VersionNumber;
  ZulFn_zul_LastError* zul_LastError;
  ZulFn_zul_LastErrorCode* zul_LastErrorCode;
  ZulFn_zul_ErrorName* zul_ErrorName;
  ZulFn_zul_ListFree* zul_ListFree;
  ZulFn_zul_GetFloat* zul_GetFloat;
  ZulFn_zul_SetFloat* zul_SetFloat;
  ZulFn_zul_SetPrinterProc1* zul_SetPrinterProc1;
  ZulFn_zul_SetPrinterProc2* zul_SetPrinterProc2;
  ZulFn_zul_SetPrinterProc3* zul_SetPrinterProc3;
  ZulFn_zul_SetPrinterProc4* zul_SetPrinterProc4;
  ZulFn_zul_SetPrinterProc5* zul_SetPrinterProc5;
  ZulFn_zul_SetDialog* zul_SetDialog;
  ZulFn_zul_SetNetworkChooser* zul_SetNetworkChooser;
  ZulFn_zul_SetMessagePump* zul_SetMessagePump;
  ZulFn_zul_SetDriveRoot* zul_SetDriveRoot;
  ZulFn_zul_SetHostDirectory* zul_SetHostDirectory;
} zul;

static void* library;

static int bind_routine(void** routine, const char* name) {
  *routine = FIND(library, name);
  if (!*routine) fprintf(stderr, "sale_host: the library has no %s\n", name);
  return *routine != NULL;
}

#define BIND(name) bind_routine((void**)&zul.name, #name)

static int check(int condition, const char* what) {
  char error[512] = "";
  if (condition) return 1;
  zul.zul_LastError(error, sizeof error);
  fprintf(stderr, "sale_host: %s failed (%s) %s\n", what, zul.zul_ErrorName(zul.zul_LastErrorCode()), error);
  return 0;
}

/* The fiscal printer: the receipt's text goes to the console. */
static int ZUL_CALL print_text(void* user, const char* zero, const char* text) {
  (void)user;
  (void)zero;
  fputs(text, stdout);
  return 1;
}

/* Every other procedure only says that it ran; user is its name. */
static int ZUL_CALL note1(void* user, const char* a1) {
  printf("[printer] %s %s\n", (const char*)user, a1);
  return 1;
}
static int ZUL_CALL note2(void* user, const char* a1, const char* a2) {
  (void)a2;
  return note1(user, a1);
}
static int ZUL_CALL note3(void* user, const char* a1, const char* a2, const char* a3) {
  (void)a3;
  return note2(user, a1, a2);
}
static int ZUL_CALL note4(void* user, const char* a1, const char* a2, const char* a3, const char* a4) {
  (void)a4;
  return note3(user, a1, a2, a3);
}
static int ZUL_CALL note5(void* user, const char* a1, const char* a2, const char* a3, const char* a4,
                          const char* a5) {
  (void)a5;
  return note4(user, a1, a2, a3, a4);
}

static int ZUL_CALL dialog(void* user, const char* text, const char* s2, const char* s3, const char* yesNo,
                           int kind, const char* s6, const char* context, int withReceipt,
                           const void* dataset) {
  (void)user, (void)s2, (void)s3, (void)kind, (void)s6, (void)context, (void)withReceipt, (void)dataset;
  printf("[dialog] %s\n", text);
  /* A sale that goes through asks nothing; any question gets no. */
  return yesNo[0] == 'S' ? 0 : 1;
}

static int ZUL_CALL choose_network(void* user, const char* caption) {
  (void)user;
  printf("[network dialog] %s: other networks\n", caption);
  return 2;
}

/* A console program has no window messages to handle. */
static int ZUL_CALL pump(void* user, int wait) {
  (void)user, (void)wait;
  return 1;
}

/* Each procedure through the setter of its type: the compiler checks it. */
#define CONNECT(arity, name, fn) check(zul.zul_SetPrinterProc##arity(name, fn, (void*)name) == ZUL_TRUE, name)

static int sale(void) {
  static const double payments[] = {40.00, 60.00};
  char root[ZUL_ROOT_CAPACITY] = "";
  char document[ZUL_FIELD_CAPACITY], f748[ZUL_F748_CAPACITY], f013[ZUL_FIELD_CAPACITY],
      f027[ZUL_F027_CAPACITY];
  /* Each DoTEF hands back a new list, the host's to free: the last payment's
   * is the one to print. */
  ZulList receipts = NULL;
  int approved = 0, transaction = 0, with_receipt = 0, i, ok;
  double extra = 0, due = 100.00, paid = 0;

  ok = CONNECT(4, "Abre_Comp_NFiscalVinc", note4) && CONNECT(2, "Usa_CompNFis", print_text) &&
       CONNECT(5, "Cupom_NFiscNVinc", note5) && CONNECT(5, "Relatorio_Gerencial_Imp", note5) &&
       CONNECT(3, "FechRelatGerenc", note3) && CONNECT(1, "Fecha_Comp_NFiscalVinc", note1) &&
       CONNECT(5, "GravaDocumentosNaoFiscais", note5) && CONNECT(2, "Guilhotina", note2) &&
       CONNECT(3, "ImprimePadrao", note3);
  if (!ok) return 0;
  zul.zul_SetDialog(dialog, NULL);
  zul.zul_SetNetworkChooser(choose_network, NULL);
  zul.zul_SetMessagePump(pump, NULL);

  /* The network for a debit card: the operator picks it. */
  if (!check(zul.CheckDirTef(root, sizeof root, "D", 0) == ZUL_TRUE, "CheckDirTef")) return 0;
  printf("network: %s\n", root);

  zul.zul_SetFloat("doValorTef", 0);
  for (i = 0; i < 2; ++i) {
    document[0] = f748[0] = f013[0] = f027[0] = '\0';
    zul.zul_ListFree(receipts); /* the earlier payment's list (NULL the first time) */
    receipts = NULL;
    ok = zul.DoTEF("c-host", payments[i], due, "C", &receipts, &approved, &transaction, &extra, document,
                   sizeof document, f748, sizeof f748, f013, sizeof f013, f027, sizeof f027) == ZUL_TRUE;
    if (!check(ok && approved == 1, "DoTEF")) return 0;
    printf("payment %d: %.2f approved, document %s, authorization %s\n", i + 1, payments[i], document, f013);
    with_receipt += approved;
    due -= payments[i];
  }
  zul.zul_GetFloat("doValorTef", &paid);
  ok = check(fabs(paid - 100.00) < 0.005, "doValorTef") &&
       check(zul.ImprCupons(receipts, 1, with_receipt, 0, "", "", "c-host", "", "", "S", "F", "", "", paid) ==
                 ZUL_TRUE,
             "ImprCupons");
  zul.zul_ListFree(receipts);
  return ok;
}

int main(int argc, char** argv) {
  int ok;
  if (argc != 4) {
    fprintf(stderr, "usage: sale_host LIBRARY DRIVE_ROOT HOST_DIR\n");
    return 2;
  }
  library = LOAD(argv[1]);
  if (!library) {
    fprintf(stderr, "sale_host: cannot load %s\n", argv[1]);
    return 2;
  }
  ok = BIND(DoTEF) && BIND(CheckDirTef) && BIND(ImprCupons) && BIND(zul_VersionNumber) &&
       BIND(zul_LastError) && BIND(zul_LastErrorCode) && BIND(zul_ErrorName) && BIND(zul_ListFree) &&
       BIND(zul_GetFloat) && BIND(zul_SetFloat) && BIND(zul_SetPrinterProc1) && BIND(zul_SetPrinterProc2) &&
       BIND(zul_SetPrinterProc3) && BIND(zul_SetPrinterProc4) && BIND(zul_SetPrinterProc5) &&
       BIND(zul_SetDialog) && BIND(zul_SetNetworkChooser) && BIND(zul_SetMessagePump) &&
       BIND(zul_SetDriveRoot) && BIND(zul_SetHostDirectory);
  /* A library older than this header, or of another major version, lacks
   * what the host was written for. */
  if (ok && (zul.zul_VersionNumber() / 10000 != ZUL_VERSION_MAJOR ||
             zul.zul_VersionNumber() < ZUL_VERSION_NUMBER)) {
    fprintf(stderr, "sale_host: the library is version %d, this host needs %d\n", zul.zul_VersionNumber(),
            ZUL_VERSION_NUMBER);
    ok = 0;
  }
  if (ok) {
    zul.zul_SetDriveRoot(argv[2]);
    zul.zul_SetHostDirectory(argv[3]);
    ok = sale();
  }
  UNLOAD(library);
  printf(ok ? "result=ok\n" : "result=failed\n");
  return ok ? 0 : 1;
}
