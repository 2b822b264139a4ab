// The printer procedures the virtual printer stands in for, by name, and the
// commands of the framework printer (Abre_Comp_NFiscalVinc with "CCD").
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace virtual_printer {

enum class Procedure {
  Abre_Comp_NFiscalVinc,
  Usa_CompNFis,
  Cupom_NFiscNVinc,
  Relatorio_Gerencial_Imp,
  FechRelatGerenc,
  Fecha_Comp_NFiscalVinc,
  GravaDocumentosNaoFiscais,
  Guilhotina,
  ImprimePadrao,
};

inline constexpr std::array<std::string_view, 9> kProcedureNames = {
    "Abre_Comp_NFiscalVinc",     "Usa_CompNFis",    "Cupom_NFiscNVinc",
    "Relatorio_Gerencial_Imp",   "FechRelatGerenc", "Fecha_Comp_NFiscalVinc",
    "GravaDocumentosNaoFiscais", "Guilhotina",      "ImprimePadrao"};

// The command group and commands of the command form of Abre_Comp_NFiscalVinc.
inline constexpr std::string_view kCommandGroup = "CCD";
inline constexpr std::array<std::string_view, 4> kFrameworkCommands = {"AbreCCD", "ImprimeCCD", "UsaRG",
                                                                       "FechaCCD"};

constexpr std::string_view ProcedureName(Procedure procedure) {
  return kProcedureNames[static_cast<std::size_t>(procedure)];
}

constexpr std::optional<Procedure> ProcedureFromName(std::string_view name) {
  for (std::size_t i = 0; i < kProcedureNames.size(); ++i)
    if (kProcedureNames[i] == name) return static_cast<Procedure>(i);
  return std::nullopt;
}

constexpr bool IsFrameworkCommand(std::string_view name) {
  for (const auto command : kFrameworkCommands)
    if (command == name) return true;
  return false;
}

} // namespace virtual_printer
