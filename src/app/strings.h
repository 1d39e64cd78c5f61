#pragma once
// Every text Klipora shows, in one place, exactly as the users see it (UTF-8).

namespace klipora::text {

inline constexpr const char* AppTitle = "Klipora";
inline constexpr const char* AlreadyRunning =
    "Klipora läuft bereits! Nutzen Sie die vorhandene Instanz.";

// Message-box captions by kind.
inline constexpr const char* CaptionError = "Fehler";
inline constexpr const char* CaptionInformation = "Information";
inline constexpr const char* CaptionQuestion = "Frage";
inline constexpr const char* CaptionWarning = "Warnung";
inline constexpr const char* CaptionConfirmation = "Bestätigung";

// Tray menu.
inline constexpr const char* TrayRestore = "Anzeigen/Konfiguration";
inline constexpr const char* TrayMinimize = "Minimieren";
inline constexpr const char* TrayQuit = "Beenden";

// Settings store; the path is put between the parts.
inline constexpr const char* CannotClearReadOnlyBefore = "Kann Schreibschutz von ";
inline constexpr const char* CannotClearReadOnlyAfter = " nicht entfernen! / Can't remove R/W flag.";
inline constexpr const char* CannotWriteBefore = "In ";
inline constexpr const char* CannotWriteAfter = " kann nicht geschrieben werden";

// Input query.
inline constexpr const char* ButtonOK = "OK";
inline constexpr const char* ButtonCancel = "Abbrechen";

// First tab of the configuration window.
inline constexpr const char* PageGeneral = "Allgemein";

}  // namespace klipora::text
