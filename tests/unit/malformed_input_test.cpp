// The malformed-input catalogue: bytes a manager, a disk or a person may put
// where the package reads, each with the clear error or the safe behaviour
// it must get. After every case, whatever it was: nothing stored before it
// is lost (it is still there byte for byte, set aside byte for byte, or
// settled with the manager), an approval it made is settled exactly once,
// and the next sale completes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/file_system.h"
#include "printing/printing.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/manager_folders.h"
#include "support/printer_stubs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::Fault;
using testing::FaultyFs;
using testing::FsOp;

using testing::kDialResp;
using testing::kDiscResp;
// The document of the malformed answer, of the real one that follows it,
// and of the next sale's.
const std::string kBad = "666666";
const std::string kReal = "777001";
const std::string kNext = "777002";

enum class Op { Sale, PartialSale, Scan, Print };
enum class Outcome { True, False, ConvertError, FileError, DataSetError };

class MalformedInputTest;
using Step = std::function<void(MalformedInputTest&)>;

struct Case {
  const char* name;
  Step arrange;
  Op op;
  Outcome outcome;
  // A text the error, a log line or a dialog holds.
  std::string says;
  // What a person does before the next sale (remove a directory in the way).
  Step fix = {};
  friend void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }
};

// The lines of an approval of the sale request, document kBad, with
// `changes` applied; "{SEQ}" stands for the request's sequence.
std::vector<std::string> BadApproval(const testing::Fields& changes = {}) {
  StringList request{"000-000 = CRT", "001-000 = {SEQ}", "003-000 = 1000"};
  testing::Fields all = {{"012-000", kBad.c_str()}};
  all.insert(all.end(), changes.begin(), changes.end());
  return Approval(request, all).lines();
}

// `lines` with `line` added before their closing line.
std::vector<std::string> WithLine(std::vector<std::string> lines, const std::string& line) {
  lines.insert(lines.end() - 1, line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end = "\r\n", bool last = true) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || last ? end : "");
  return text;
}

// A leftover answer of another sale, document `document`.
std::string LeftoverText(const std::string& document, const std::string& amount = "1000") {
  return Joined({"000-000 = CRT", "001-000 = 0000" + document, "003-000 = " + amount, "009-000 = 0",
                 "010-000 = REDEY", "012-000 = " + document, "028-000 = 1", "029-001 = \"X\"",
                 "999-999 = 0"});
}

class MalformedInputTest : public testing::SaleWorld, public ::testing::WithParamInterface<Case> {
public:
  MalformedInputTest() { testing::AnswerEveryPrinterCall(); }
  ~MalformedInputTest() override { testing::ClearPrinterProcedures(); }

  // The manager answers the next sale with `bytes` written in place ({SEQ}: the
  // request's sequence); with `replaced`, two seconds later it writes the
  // real answer (document kReal) over them.
  void AnswerSaleWith(std::string bytes, bool replaced) {
    answered_ = false;
    dial_.OnRequest([this, bytes, replaced](const StringList& request) {
      if (request.Field("000-000 ") != "CRT" || answered_) return;
      answered_ = true;
      std::string text = bytes;
      for (std::size_t at; (at = text.find("{SEQ}")) != std::string::npos;)
        text.replace(at, 5, request.Field("001-000 "));
      platform::native_fs().write_file(kDialResp + "intpos.001", text);
      StringList written;
      written.SetText(text);
      if (written.Field("009-000 ") == "0" && written.Field("028-000 ") != "0")
        approved_documents_.insert(written.Field("012-000 "));
      if (!replaced) return;
      approved_documents_.insert(kReal);
      After(2000, [request] {
        platform::native_fs().write_file(kDialResp + "intpos.001",
                                         Approval(request, {{"012-000", kReal.c_str()}}).Text());
      });
    });
  }
  void Write(const std::string& path, const std::string& bytes) {
    platform::native_fs().write_file(path, bytes);
  }
  // The temporary folder the drive lives in, a native path.
  std::string Outside(const std::string& name) const { return world_.root() + "/" + name; }
#ifndef _WIN32
  // A FIFO, or a link to `target`, at `path` on the real disk.
  static void Fifo(const std::string& path) {
    ASSERT_EQ(::mkfifo(platform::native_fs().native_path(path).c_str(), 0666), 0);
  }
  static void Link(const std::string& target, const std::string& path) {
    std::filesystem::create_symlink(target, platform::native_fs().native_path(path));
  }
  // The manager answers the next sale with `plant` first, then, two seconds
  // later, with the real answer (document kReal) in its place.
  void AnswerSaleAfter(std::function<void()> plant) {
    answered_ = false;
    dial_.OnRequest([this, plant](const StringList& request) {
      if (request.Field("000-000 ") != "CRT" || answered_) return;
      answered_ = true;
      plant();
      approved_documents_.insert(kReal);
      After(2000, [request] {
        platform::native_fs().remove_file(kDialResp + "intpos.001");
        platform::native_fs().write_file(kDialResp + "intpos.001",
                                         Approval(request, {{"012-000", kReal.c_str()}}).Text());
      });
    });
  }
#endif
  // Runs `action` `ms` of virtual time from now.
  void After(std::int64_t ms, std::function<void()> action) {
    clock_.at(clock_.elapsed_ms() + ms, std::move(action));
  }
  void StoreRoot(const std::string& root) { StoreDirTef(root); }
  bool ManagerApproved(const std::string& document) const { return approved_documents_.count(document) != 0; }

  FaultyFs faults_;
  StringList receipts_to_print_;
  std::set<std::string> approved_documents_;

private:
  bool answered_ = false;
};

// Every file of the package's and the managers' directories, quarantine
// included, by path.
std::map<std::string, std::string> Stored() {
  std::map<std::string, std::string> files;
  const std::vector<std::string> directories = {
      dsDirBkpTef, dsDirPenTef, dsDirBkpTef + "Descartados\\",
      kDialResp,   kDiscResp,   std::string(kRootHiperTef) + "resp\\"};
  for (const std::string& directory : directories)
    for (const std::string& name : platform::native_fs().list(directory + "*"))
      if (platform::native_fs().file_exists(directory + name)) try {
          files[directory + name] = platform::native_fs().read_part(directory + name, 0, std::string::npos);
        } catch (const NotRegularFile&) {
          // A link, a FIFO: nothing stored in it to lose.
        }
  return files;
}

const std::vector<Case>& Catalogue() {
  using M = MalformedInputTest;
  static const std::vector<Case> cases = {
      // --- the manager's answer to the sale ------------------------------------
      {"empty answer, waited over until the real one", [](M& t) { t.AnswerSaleWith("", true); }, Op::Sale,
       Outcome::True, "Arquivo encontrado ---"},
      {"answer of NUL bytes without a line end, waited over",
       [](M& t) { t.AnswerSaleWith(std::string(1024, '\0'), true); }, Op::Sale, Outcome::True, kReal},
      {"answer of NUL bytes ending in a line end, never whole, waited over until replaced",
       [](M& t) { t.AnswerSaleWith(std::string(64, '\0') + "\r\n", true); }, Op::Sale, Outcome::True, kReal},
      {"answer of lines without \"=\", dropped as another sequence's",
       [](M& t) { t.AnswerSaleWith("garbage\r\nmore garbage\r\n999-999 = 0\r\n", true); }, Op::Sale,
       Outcome::True, "Rez00000 - Arquivo de resposta errado."},
      {"answer of 64 KB of line ends only, dropped as another sequence's",
       [](M& t) { t.AnswerSaleWith(std::string(65536, '\n'), true); }, Op::Sale, Outcome::True, kReal},
      {"operator message of 1 MB on one line: past the limit, set aside and not confirmed",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"030-000", std::string(1 << 20, 'A').c_str()}})), false);
       },
       Op::Sale, Outcome::False, "acima do limite"},
      {"operator message just within the limit",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"030-000", std::string(1000 * 1000, 'A').c_str()}})), false);
       },
       Op::Sale, Outcome::True, std::string(1000 * 1000, 'A')},
      {"carriage returns alone as line ends",
       [](M& t) { t.AnswerSaleWith(Joined(BadApproval(), "\r"), false); }, Op::Sale, Outcome::True, kBad},
      {"line feeds alone, no closing line, no last line end, then whole",
       [](M& t) {
         std::vector<std::string> lines = BadApproval();
         lines.pop_back();
         t.AnswerSaleWith(Joined(lines, "\n", false), false);
         t.After(3000, [] {
           std::string text = platform::native_fs().read_file(kDialResp + "intpos.001");
           platform::native_fs().write_file(kDialResp + "intpos.001", text + "\n");
         });
       },
       Op::Sale, Outcome::True, kBad},
      {"no closing 999-999 line, ending with a line end",
       [](M& t) {
         std::vector<std::string> lines = BadApproval();
         lines.pop_back();
         t.AnswerSaleWith(Joined(lines), false);
       },
       Op::Sale, Outcome::True, kBad},
      {"009-000 twice, the first approving",
       [](M& t) { t.AnswerSaleWith(Joined(WithLine(BadApproval(), "009-000 = 05")), false); }, Op::Sale,
       Outcome::True, kBad},
      {"009-000 twice, the first refusing",
       [](M& t) {
         t.AnswerSaleWith(Joined(WithLine(BadApproval({{"009-000", "05"}}), "009-000 = 0")), false);
       },
       Op::Sale, Outcome::False, "Rez00000 - Transa\xE7\xE3o n\xE3o aprovada."},
      {"negative receipt count",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"028-000", "-1"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "028-000"},
      {"huge receipt count",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"028-000", "100000"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "028-000"},
      {"receipt count that is not a number",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"028-000", "dois"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "028-000"},
      {"receipt count beyond 32 bits",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"028-000", "99999999999999999999"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "028-000"},
      {"amount that is not whole cents",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"003-000", "12,50"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "003-000"},
      {"amount beyond 32 bits",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"003-000", "99999999999"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "003-000"},
      {"709-000 that is not a number",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"709-000", "1.2.3"}})), false);
       },
       Op::Sale, Outcome::ConvertError, "709-000"},
      {"bytes code page 1252 leaves undefined, in the message",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"030-000", "APROVADA \x81\x8D\x8F\x90\x9D"}})), false);
       },
       Op::Sale, Outcome::True, "APROVADA \x81\x8D\x8F\x90\x9D"},
      {"refusal whose receipt count is not a number",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval({{"009-000", "05"}, {"028-000", "x"}})), false);
       },
       Op::Sale, Outcome::False, "Rez00000 - Transa\xE7\xE3o n\xE3o aprovada."},
      {"error answer with a 1 MB reason: past the limit, set aside",
       [](M& t) {
         t.AnswerSaleWith("000-000 = XXX\r\n001-000 = {SEQ}\r\n030-000 = " + std::string(1 << 20, 'E') +
                              "\r\n999-999 = 0\r\n",
                          false);
       },
       Op::Sale, Outcome::False, "acima do limite"},
      // --- leftovers the next start finds ---------------------------------------
      {"empty leftover in a response directory, set aside once it stood still",
       [](M& t) { t.Write(kDiscResp + "intpos.001", ""); }, Op::Scan, Outcome::True,
       "incompleto, movido para"},
      {"leftover backup of NUL bytes, set aside",
       [](M& t) { t.Write(dsDirBkpTef + "intpos.  3", std::string(512, '\0')); }, Op::Scan, Outcome::True,
       "incompleto, movido para"},
      {"leftover without a network, set aside",
       [](M& t) {
         t.Write(kDiscResp + "intpos.001", "000-000 = CRT\r\n001-000 = 0000000009\r\n999-999 = 0\r\n");
       },
       Op::Scan, Outcome::True, "sem 010-000, movido para"},
      {"leftover whose amount is not a number, still not confirmed",
       [](M& t) { t.Write(dsDirBkpTef + "intpos.  2", LeftoverText("555001", "doze")); }, Op::Scan, Outcome::True,
       "Valor: doze"},
      {"leftover with carriage returns alone as line ends",
       [](M& t) {
         std::string text = LeftoverText("555002");
         text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
         t.Write(dsDirBkpTef + "intpos.  2", text);
       },
       Op::Scan, Outcome::True, "555002"},
      {"directory named like a numbered backup, passed over",
       [](M&) { platform::native_fs().create_directories(dsDirBkpTef + "intpos.  7"); }, Op::Scan,
       Outcome::True, ""},
      {"stray status file of NUL bytes in another root, removed",
       [](M& t) { t.Write(kDiscResp + "intpos.sts", std::string(16, '\0')); }, Op::Scan, Outcome::True,
       "Arquivo de status removido"},
      {"backup whose number overflows, passed over",
       [](M& t) { t.Write(dsDirBkpTef + "intpos.99999999999999999999", LeftoverText("555003")); }, Op::Scan,
       Outcome::True, ""},
      // --- directories, refusals and full disks -------------------------------------
      {"directory where the pending copy goes",
       [](M& t) {
         platform::native_fs().create_directories(dsDirPenTef + "intpos.1");
         t.AnswerSaleWith(Joined(BadApproval()), false);
       },
       Op::PartialSale, Outcome::FileError, "intpos.1",
       [](M&) { std::filesystem::remove_all(platform::native_fs().native_path(dsDirPenTef + "intpos.1")); }},
      {"directory where DIRTEF.cds goes",
       [](M&) {
         platform::native_fs().remove_file(dsDirTef + "\\DIRTEF.cds");
         platform::native_fs().create_directories(dsDirTef + "\\DIRTEF.cds");
       },
       Op::Sale, Outcome::FileError, "DIRTEF.cds",
       [](M&) { std::filesystem::remove_all(platform::native_fs().native_path(dsDirTef + "\\DIRTEF.cds")); }},
      {"backup directory that refuses writing",
       [](M& t) {
         t.faults_.fail_path(FsOp::WriteFile, dsDirBkpTef);
         t.AnswerSaleWith(Joined(BadApproval()), false);
       },
       Op::Sale, Outcome::FileError, dsDirBkpTef},
      {"full disk while the answer's working copy is written",
       [](M& t) {
         t.faults_.fail_path(FsOp::WriteFile, dsDirBkpTef, Fault::Torn);
         t.AnswerSaleWith(Joined(BadApproval()), false);
       },
       Op::Sale, Outcome::FileError, dsDirBkpTef},
      {"full disk while a request is written",
       [](M& t) { t.faults_.fail_path(FsOp::WriteFile, "req\\", Fault::Torn); }, Op::Sale, Outcome::False,
       "N\xE3o houve resposta do gerenciador"},
      {"full disk while the pending copy is written",
       [](M& t) {
         t.faults_.fail_path(FsOp::WriteFile, dsDirPenTef, Fault::Torn);
         t.AnswerSaleWith(Joined(BadApproval()), false);
       },
       Op::PartialSale, Outcome::FileError, dsDirPenTef},
      {"full disk while DIRTEF.cds is written",
       [](M& t) { t.faults_.fail_path(FsOp::WriteFile, "DIRTEF", Fault::Torn); }, Op::Sale,
       Outcome::FileError, "DIRTEF"},
      {"card log that refuses appending", [](M& t) { t.faults_.fail_path(FsOp::AppendFile, "LogTef"); },
       Op::Sale, Outcome::FileError, "LogTef"},
#ifndef _WIN32
      // --- what is no regular file ------------------------------------------------
      {"FIFO as the sale's answer, removed unread, the real answer waited for",
       [](M& t) { t.AnswerSaleAfter([] { M::Fifo(kDialResp + "intpos.001"); }); }, Op::Sale, Outcome::True,
       "n\xE3o \xE9 um arquivo comum, removido"},
      {"link to /dev/zero as the sale's answer, removed unread",
       [](M& t) { t.AnswerSaleAfter([] { M::Link("/dev/zero", kDialResp + "intpos.001"); }); }, Op::Sale,
       Outcome::True, "n\xE3o \xE9 um arquivo comum, removido"},
      {"FIFO left in a response directory, removed by the scan",
       [](M&) { M::Fifo(kDiscResp + "intpos.001"); }, Op::Scan, Outcome::True,
       "n\xE3o \xE9 um arquivo comum, removido"},
      {"link to another program's approval in a response directory, removed, the approval untouched",
       [](M& t) {
         const std::string outside = t.Outside("someone-elses.txt");
         platform::native_fs().write_file(outside, LeftoverText("555008"));
         M::Link(outside, kDiscResp + "intpos.001");
       },
       Op::Scan, Outcome::True, "n\xE3o \xE9 um arquivo comum, removido"},
      {"FIFO named like a numbered backup, removed by the scan",
       [](M&) { M::Fifo(dsDirBkpTef + "intpos.  4"); }, Op::Scan, Outcome::True,
       "n\xE3o \xE9 um arquivo comum, removido"},
      {"directory named like the answer in a response directory, told and left",
       [](M&) { platform::native_fs().create_directories(kDiscResp + "intpos.001"); }, Op::Scan,
       Outcome::True, "n\xE3o \xE9 um arquivo comum (diret\xF3rio)",
       [](M&) { std::filesystem::remove_all(platform::native_fs().native_path(kDiscResp + "intpos.001")); }},
      {"link to a directory as the sale's answer, removed unread, the directory untouched",
       [](M& t) {
         const std::string target = t.Outside("a-directory");
         std::filesystem::create_directories(target);
         t.AnswerSaleAfter([target] { M::Link(target, kDialResp + "intpos.001"); });
       },
       Op::Sale,
       Outcome::True, "n\xE3o \xE9 um arquivo comum, removido"},
#endif
      // --- what the till may not read -------------------------------------------------
      {"leftover the till may not read, passed over and left",
       [](M& t) {
         t.Write(kDiscResp + "intpos.001", LeftoverText("555011"));
         t.faults_.unreadable_reads(kDiscResp + "intpos.001", 1'000'000);
       },
       Op::Scan, Outcome::True, "ileg\xEDvel, deixado onde est\xE1"},
      {"leftover held open without sharing for good, passed over and left",
       [](M& t) {
         t.Write(kDiscResp + "intpos.001", LeftoverText("555012"));
         t.faults_.busy_reads(kDiscResp + "intpos.001", 1'000'000);
       },
       Op::Scan, Outcome::True, "ileg\xEDvel, deixado onde est\xE1"},
      {"sale's answer unreadable for a moment, then read",
       [](M& t) {
         t.AnswerSaleWith(Joined(BadApproval()), false);
         t.faults_.unreadable_reads(kDialResp + "intpos.001", 4);
       },
       Op::Sale, Outcome::True, kBad},
      // --- DIRTEF.cds ---------------------------------------------------------------
      {"DIRTEF.cds torn, with a leftover to settle",
       [](M& t) {
         t.StoreRoot(kRootTefDial);
         const std::string path = dsDirTef + "\\DIRTEF.cds";
         const std::string whole = platform::native_fs().read_file(path);
         t.Write(path, whole.substr(0, whole.size() / 2));
         t.Write(dsDirBkpTef + "intpos.  1", LeftoverText("555004"));
       },
       Op::Scan, Outcome::True, "DIRTEF.cds"},
      {"DIRTEF.cds empty, with a leftover to settle",
       [](M& t) {
         t.Write(dsDirTef + "\\DIRTEF.cds", "");
         t.Write(dsDirBkpTef + "intpos.  1", LeftoverText("555005"));
       },
       Op::Scan, Outcome::True, "DIRTEF.cds"},
      {"DIRTEF.cds holding a root that is not one of the three",
       [](M& t) {
         t.StoreRoot("c:\\outro\\");
         t.Write(dsDirBkpTef + "intpos.  1", LeftoverText("555006"));
       },
       Op::Scan, Outcome::True, "555006"},
      // --- the receipts list of a printing run ------------------------------------
      {"receipt whose count is absurd, refused before its confirmation",
       [](M& t) {
         StringList answer;
         answer.SetText(Joined(BadApproval({{"001-000", "0000555007"}, {"028-000", "5000"}})));
         t.Write(dsDirBkpTef + "intpos.  1", answer.Text());
         t.approved_documents_.insert(kBad);
         t.receipts_to_print_ = testing::Block("1", answer);
       },
       Op::Print, Outcome::ConvertError, "028-000"},
  };
  return cases;
}

TEST_P(MalformedInputTest, GetsItsClearErrorOrSafeBehaviourAndLosesNothing) {
  const Case& c = GetParam();
  StoreDirTef(kRootTefDial);
  c.arrange(*this);
  const std::map<std::string, std::string> before = Stored();

  bool result = false;
  Outcome outcome = Outcome::True;
  std::string error;
  {
    platform::ScopedFileSystem scoped(faults_);
    try {
      switch (c.op) {
      case Op::Sale:
        result = Pay(10, 10);
        break;
      case Op::PartialSale:
        result = Pay(4, 10);
        break;
      case Op::Scan:
        result = CheckIntPosFiles("ctx", true);
        break;
      case Op::Print:
        result = ImprCupons(receipts_to_print_, 1, 1, 0, "", "", "ctx", "", "", "N", "N", "", "", 10);
        break;
      }
      outcome = result ? Outcome::True : Outcome::False;
    } catch (const ConvertError& e) {
      outcome = Outcome::ConvertError;
      error = e.what();
    } catch (const DataSetError& e) {
      outcome = Outcome::DataSetError;
      error = e.what();
    } catch (const FileError& e) {
      outcome = Outcome::FileError;
      error = e.what();
    }
  }
  EXPECT_EQ(static_cast<int>(outcome), static_cast<int>(c.outcome)) << error;
  if (!c.says.empty()) {
    std::string everything = error;
    for (const std::string& line : LogMessages()) everything += "\n" + line;
    for (const auto& call : host_->Calls()) everything += "\n" + call.text;
    everything += "\ndocument " + document_;
    EXPECT_NE(everything.find(c.says), std::string::npos)
        << "nothing says \"" << c.says.substr(0, 80) << "\"";
  }

  // The next sale completes, settling what was left.
  if (c.fix) c.fix(*this);
  AnswerSaleWith(
      Joined(Approval({"000-000 = CRT", "001-000 = {SEQ}", "003-000 = 1000"}, {{"012-000", kNext.c_str()}})
                 .lines()),
      false);
  EXPECT_TRUE(Pay(10, 10)) << "the next sale";
  EXPECT_EQ(approved_, 1) << "the next sale";

  // Settled with the manager, by document.
  std::map<std::string, int> settled;
  for (const testing::FakeManager* manager : {&dial_, &disc_, &hiper_})
    for (const StringList& request : manager->Requests())
      if (request.Field("000-000 ") == "CNF" || request.Field("000-000 ") == "NCN")
        ++settled[request.Field("012-000 ")];
  const std::map<std::string, std::string> after = Stored();
  for (const auto& [path, bytes] : before) {
    StringList lines;
    lines.SetText(bytes);
    const bool kept =
        std::any_of(after.begin(), after.end(), [&](const auto& file) { return file.second == bytes; });
    const bool status = path.size() >= 4 && path.substr(path.size() - 4) == ".sts";
    EXPECT_TRUE(kept || settled[lines.Field("012-000 ")] == 1 || status) << "lost: " << path;
  }
  // An approval the malformed answer made, and the real one after it, are
  // settled exactly once: by the case's own printing run or by the next
  // sale's scan.
  for (const std::string& document : {kBad, kReal})
    if (ManagerApproved(document)) {
      EXPECT_EQ(settled[document], 1) << document;
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, MalformedInputTest, ::testing::ValuesIn(Catalogue()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return "case" + std::to_string(info.index);
                         });

} // namespace
} // namespace zul00500
