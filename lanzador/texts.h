#pragma once
// The launcher's fixed texts, kept in Windows-1252 like every text of the
// suite; fromCp1252() turns them into display strings.
#include <wx/string.h>

namespace lanzador {

inline constexpr const char* kTitle = "Programa de Actualizaci\xF3n de Librerias";                   // string 103
inline constexpr const char* kNotice = "Verificaci\xF3n de KALTRO[Pulse File->Exit para continuar]";  // string 106
inline constexpr const char* kClassName = "KALTRO ";                                                  // string 109
inline constexpr const char* kStartMessage = "Actualiza LIBRERIAS y ejecuta PROGRAMA PRINCIPAL";
inline constexpr const char* kStartCaption = "Programa ";

wxString fromCp1252(const char* text);

}  // namespace lanzador
