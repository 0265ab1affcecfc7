#pragma once
// The launcher's fixed texts, kept in Windows-1252 like every text of the
// suite; guicommon::fromCp1252() turns them into display strings.
namespace lanzador {

inline constexpr const char* kTitle = "Programa de Actualizaci\xF3n de Librerias";  // the window's title
// Drawn in the window when the main program could not be started.
inline constexpr const char* kNotice = "Verificaci\xF3n de KALTRO[Pulse File->Exit para continuar]";
inline constexpr const char* kClassName = "KALTRO ";  // window class name, trailing blank included
inline constexpr const char* kStartMessage = "Actualiza LIBRERIAS y ejecuta PROGRAMA PRINCIPAL";
inline constexpr const char* kStartCaption = "Programa ";

}  // namespace lanzador
