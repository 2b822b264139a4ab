// The package's C interface is declared in three languages: the C header, the
// Pascal unit a Delphi host uses and the C# class a .NET host uses. They must
// name the same routines and callback types with the same number of
// parameters, or a host calls into the wrong stack frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Name -> number of parameters; the numeric constants' values as written.
struct Declarations {
  std::map<std::string, int> routines;
  std::map<std::string, int> callbacks;
  std::map<std::string, std::string> constants;
};

std::string read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string without(std::string text, const std::regex& comment) {
  return std::regex_replace(text, comment, " ");
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Parameters separated by `separator`, none when the list is empty or "void".
int count(const std::string& list, char separator = ',') {
  const std::string parameters = trim(list);
  if (parameters.empty() || parameters == "void") return 0;
  return static_cast<int>(std::count(parameters.begin(), parameters.end(), separator)) + 1;
}

template <typename Add> void each(const std::string& text, const std::regex& pattern, Add add) {
  for (std::sregex_iterator match(text.begin(), text.end(), pattern), end; match != end; ++match) add(*match);
}

Declarations from_c(const std::string& header) {
  const std::string text = without(header, std::regex(R"(/\*[^*]*\*+([^/*][^*]*\*+)*/)"));
  // "ZUL_ROUTINE(int, X, (...))" declares routine X and its type ZulFn_X;
  // "ZUL_API ZulFn_X Y;" exports routine Y of that type.
  std::map<std::string, int> types;
  Declarations found;
  each(text, std::regex(R"(ZUL_(?:DEPRECATED_)?ROUTINE\s*\(\s*[\w\s*]+?\s*,\s*(\w+)\s*,\s*\(([^)]*)\))"),
       [&](const std::smatch& m) { found.routines[m[1]] = types["ZulFn_" + m[1].str()] = count(m[2]); });
  each(text, std::regex(R"(ZUL_API\s+(ZulFn_\w+)\s+(\w+)\s*;)"),
       [&](const std::smatch& m) { found.routines[m[2]] = types.count(m[1]) ? types.at(m[1]) : -1; });
  each(text, std::regex(R"(typedef\s+\w+\s*\(\s*ZUL_CALL\s*\*\s*(\w+)\s*\)\s*\(([^)]*)\)\s*;)"),
       [&](const std::smatch& m) { found.callbacks[m[1]] = count(m[2]); });
  each(text, std::regex(R"(#define\s+(ZUL_\w+)\s+\(?(-?\d+)\)?\s*\n)"),
       [&](const std::smatch& m) { found.constants[m[1]] = m[2]; });
  return found;
}

// "var A, B: Integer; C: PAnsiChar" has three parameters.
int count_pascal(const std::string& list) {
  int total = 0;
  std::istringstream groups(list);
  for (std::string group; std::getline(groups, group, ';');)
    if (!trim(group).empty()) total += count(group.substr(0, group.find(':')));
  return total;
}

Declarations from_pascal(const std::string& unit) {
  // Comments and compiler directives go; "{$IFDEF X}stdcall{$ELSE}cdecl{$ENDIF}"
  // leaves the two words.
  const std::string text =
      without(without(unit, std::regex(R"(\{[^}]*\}|//[^\n]*)")), std::regex(R"(\(\*[\s\S]*?\*\))"));
  Declarations found;
  each(text,
       std::regex(
           R"(function\s+\w+\s*(?:\(([^)]*)\))?\s*:\s*\w+\s*;[\w\s]*;\s*external\s+\w+\s+name\s+'(\w+)')",
           std::regex::icase),
       [&](const std::smatch& m) { found.routines[m[2]] = count_pascal(m[1]); });
  each(text, std::regex(R"((\w+)\s*=\s*function\s*\(([^)]*)\)\s*:)", std::regex::icase),
       [&](const std::smatch& m) {
         const std::string name = m[1];
         if (name.rfind("TZulFn_", 0) == 0) return; // a routine's type (pascal_routine_types)
         // TZulDialogProc is the type the header calls ZulDialogProc.
         found.callbacks[name.rfind('T', 0) == 0 ? name.substr(1) : name] = count_pascal(m[2]);
       });
  each(text, std::regex(R"((ZUL_\w+)\s*=\s*(-?\d+)\s*;)"),
       [&](const std::smatch& m) { found.constants[m[1]] = m[2]; });
  return found;
}

// The Pascal unit's routine types, TZulFn_ + the routine's name, by the
// routine's name: what a host that loads the library at run time calls.
std::map<std::string, int> pascal_routine_types(const std::string& unit) {
  const std::string text = without(unit, std::regex(R"(\{[^}]*\}|//[^\n]*)"));
  std::map<std::string, int> types;
  each(text, std::regex(R"(TZulFn_(\w+)\s*=\s*function\s*(?:\(([^)]*)\))?\s*:)", std::regex::icase),
       [&](const std::smatch& m) { types[m[1]] = count_pascal(m[2]); });
  return types;
}

// The C# class names ZUL_FILE_BUSY's value EFileBusy: the header's name from it.
std::string header_name(const std::string& csharp) {
  std::string name = "ZUL";
  for (std::size_t i = 0; i < csharp.size(); ++i) {
    const char c = csharp[i];
    if (std::isupper(static_cast<unsigned char>(c)) || i == 0) name += '_';
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return name;
}

Declarations from_csharp(const std::string& source) {
  const std::string text = without(source, std::regex(R"(//[^\n]*)"));
  // Attributes such as [In, Out] hold commas of their own.
  const auto parameters = [](const std::string& list) {
    return count(std::regex_replace(list, std::regex(R"(\[[^\]]*\])"), ""));
  };
  Declarations found;
  each(text, std::regex(R"(static\s+extern\s+\w+\s+(\w+)\s*\(([^)]*)\)\s*;)"),
       [&](const std::smatch& m) { found.routines[m[1]] = parameters(m[2]); });
  each(text, std::regex(R"(delegate\s+\w+\s+(\w+)\s*\(([^)]*)\)\s*;)"),
       [&](const std::smatch& m) { found.callbacks[m[1]] = parameters(m[2]); });
  // "public const int True = 1, False = 0;"
  each(text, std::regex(R"(const\s+int\s+([^;]*);)"), [&](const std::smatch& declaration) {
    const std::string list = declaration[1];
    each(list, std::regex(R"((\w+)\s*=\s*(-?\d+))"),
         [&](const std::smatch& m) { found.constants[header_name(m[1])] = m[2]; });
  });
  return found;
}

bool same_ignoring_case(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// What `other` (the Pascal unit or the C# class) gets wrong against the
// header. A routine with a twin in another letter case (DoTEF and DoTef, one
// routine under two names) is declared once there: Pascal could not tell the
// two identifiers apart, and a host needs only one.
std::vector<std::string> disagreements(const Declarations& header, const Declarations& other) {
  std::vector<std::string> wrong;
  const auto compare = [&](const std::map<std::string, int>& want, const std::map<std::string, int>& have,
                           const char* what) {
    for (const auto& [name, parameters] : want) {
      auto found = have.find(name);
      if (found == have.end()) {
        found = std::find_if(have.begin(), have.end(), [&](const auto& entry) {
          return want.count(entry.first) && same_ignoring_case(entry.first, name);
        });
      }
      if (found == have.end()) wrong.push_back(std::string(what) + " " + name + " is missing");
      else if (found->second != parameters)
        wrong.push_back(std::string(what) + " " + name + " has " + std::to_string(found->second) +
                        " parameters, the header " + std::to_string(parameters));
    }
    for (const auto& [name, parameters] : have)
      if (!want.count(name)) wrong.push_back(std::string(what) + " " + name + " is not in the header");
  };
  compare(header.routines, other.routines, "routine");
  compare(header.callbacks, other.callbacks, "callback type");
  for (const auto& [name, value] : header.constants) {
    const auto found = other.constants.find(name);
    if (found == other.constants.end()) wrong.push_back("constant " + name + " is missing");
    else if (found->second != value)
      wrong.push_back("constant " + name + " is " + found->second + ", the header " + value);
  }
  for (const auto& [name, value] : other.constants)
    if (!header.constants.count(name)) wrong.push_back("constant " + name + " is not in the header");
  return wrong;
}

const std::string kSource = ZUL_SOURCE_DIR;
const std::string kHeader = read(kSource + "/include/Pkg_Zul00500.h");
const std::string kPascal = read(kSource + "/examples/pascal/Pkg_Zul00500.pas");
const std::string kCSharp = read(kSource + "/examples/csharp/Pkg_Zul00500.cs");

TEST(InterfaceDeclarations, TheHeaderDeclaresEveryRoutineAndCallbackType) {
  const Declarations header = from_c(kHeader);
  EXPECT_EQ(header.routines.size(), 62u);
  EXPECT_EQ(header.routines.at("zul_SalePayment"), 4);
  EXPECT_EQ(header.routines.at("DoTEF"), 16);
  EXPECT_EQ(header.routines.at("DoTef"), 16);
  EXPECT_EQ(header.routines.at("CancelaTEF"), 18);
  EXPECT_EQ(header.routines.at("BloqueiaTeclado"), 0);
  EXPECT_EQ(header.routines.at("zul_SetPrinterProc4"), 3);
  EXPECT_EQ(header.routines.at("zul_SetPrinterProc"), 3);
  EXPECT_EQ(header.callbacks.size(), 11u);
  EXPECT_EQ(header.callbacks.at("ZulDialogProc"), 10);
  // The codes, the capacities, the results, the version's parts and the
  // release flag.
  EXPECT_EQ(header.constants.size(), 50u);
  EXPECT_EQ(header.constants.at("ZUL_OUTCOME_NOT_PRINTED"), "214");
  EXPECT_EQ(header.constants.at("ZUL_ERROR"), "-1");
  EXPECT_EQ(header.constants.at("ZUL_NOTE_TRUNCATED"), "100");
  EXPECT_EQ(header.constants.at("ZUL_NOTE_UNREADABLE"), "105");
}

TEST(InterfaceDeclarations, PascalUnitAgreesWithTheHeader) {
  const Declarations pascal = from_pascal(kPascal);
  EXPECT_EQ(pascal.routines.size(), 61u); // DoTef is DoTEF in Pascal
  EXPECT_EQ(disagreements(from_c(kHeader), pascal), std::vector<std::string>{});
}

TEST(InterfaceDeclarations, CSharpClassAgreesWithTheHeader) {
  EXPECT_EQ(from_csharp(kCSharp).routines.size(), 61u); // DoTEF serves for DoTef
  EXPECT_EQ(disagreements(from_c(kHeader), from_csharp(kCSharp)), std::vector<std::string>{});
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(InterfaceDeclarations, ANameOrAParameterCountThatDiffersIsFound) {
  const Declarations header = from_c(kHeader);
  EXPECT_EQ(
      disagreements(header, from_pascal(replaced(kPascal, "  Amount: Double): Integer;\n  {$IFDEF",
                                                 "  Amount: Double; Extra: Integer): Integer;\n  {$IFDEF"))),
      std::vector<std::string>{"routine ImprCupons has 15 parameters, the header 14"});
  EXPECT_EQ(disagreements(header, from_pascal(replaced(kPascal, "name 'CancelaTEFs'", "name 'CancelaTefs'"))),
            (std::vector<std::string>{"routine CancelaTEFs is missing",
                                      "routine CancelaTefs is not in the header"}));
  EXPECT_EQ(disagreements(header, from_csharp(replaced(kCSharp, "int zul_ListGet(IntPtr list, int index,",
                                                       "int zul_ListGet(IntPtr list,"))),
            std::vector<std::string>{"routine zul_ListGet has 3 parameters, the header 4"});
  EXPECT_EQ(disagreements(header, from_csharp(replaced(
                                      kCSharp, "delegate int ZulMessagePumpProc(IntPtr user, int wait)",
                                      "delegate int ZulMessagePumpProc(IntPtr user)"))),
            std::vector<std::string>{"callback type ZulMessagePumpProc has 1 parameters, the header 2"});
  // The header itself changing is found the same way.
  EXPECT_EQ(disagreements(from_c(replaced(kHeader, "LogCartao, (const char* message)",
                                          "LogCartao, (const char* message, int level)")),
                          from_csharp(kCSharp)),
            std::vector<std::string>{"routine LogCartao has 1 parameters, the header 2"});
}

// The types behind the unit's run-time loading (ZulLoad) are declared apart
// from its external routines: they must agree with the header as well.
TEST(InterfaceDeclarations, PascalRoutineTypesAgreeWithTheHeader) {
  Declarations types = from_pascal(kPascal);
  types.routines = pascal_routine_types(kPascal);
  EXPECT_EQ(types.routines.size(), 61u);
  EXPECT_EQ(disagreements(from_c(kHeader), types), std::vector<std::string>{});
  // One parameter too few in a type is found.
  types.routines =
      pascal_routine_types(replaced(kPascal, "TZulFn_zul_ListAdd = function(List: ZulList; Line: PAnsiChar)",
                                    "TZulFn_zul_ListAdd = function(List: ZulList)"));
  EXPECT_EQ(disagreements(from_c(kHeader), types),
            std::vector<std::string>{"routine zul_ListAdd has 1 parameters, the header 2"});
}

} // namespace
