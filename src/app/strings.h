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
inline constexpr const char* CannotClearReadOnlyAfter =
    " nicht entfernen! / Can't remove R/W flag.";
inline constexpr const char* CannotWriteBefore = "In ";
inline constexpr const char* CannotWriteAfter = " kann nicht geschrieben werden";

// Input query.
inline constexpr const char* ButtonOK = "OK";
inline constexpr const char* ButtonCancel = "Abbrechen";

// First tab of the configuration window.
inline constexpr const char* PageGeneral = "Allgemein";

// Colour reduction (the platform's own wording).
inline constexpr const char* SystemResourcesExhausted = "Systemressourcen erschöpft.";
inline constexpr const char* RowIndexOutOfRange = "Bereichsüberschreitung bei Zeilenindex";

// Application shell: the remaining tabs of the configuration window.
inline constexpr const char* PageHotkey = "Hotkey";
inline constexpr const char* PageActions = "Aktionen";
inline constexpr const char* PageGraphics = "Grafikoptimierung";
inline constexpr const char* PageAbout = "Info";

// Application shell: errors that no command handled.
inline constexpr const char* UnknownError = "Ein unbekannter Fehler ist aufgetreten.";
inline constexpr const char* CrashBefore = "Schwerer Fehler (Ausnahme ";
inline constexpr const char* CrashAfter = "). Klipora wird beendet.";
inline constexpr const char* ProgramEnds = "\n\nKlipora wird beendet.";
inline constexpr const char* WindowCreationFailed = "Ein Fenster konnte nicht erstellt werden.";

// Capture.
inline constexpr const char* HotKeyRefusedBefore = "Konnte Hotkey ";
inline constexpr const char* HotKeyRefusedAfter =
    " nicht registrieren. Verwenden Sie einen anderen Hotkey!";
inline constexpr const char* ClipboardBusy = "Zwischenablage kann nicht geöffnet werden";
inline constexpr const char* GifClipboardRejected = "Failed to store GIF on clipboard";
inline constexpr const char* ClipboardOutOfMemory =
    "Für die Zwischenablage ist nicht genug Speicher frei.";
inline constexpr const char* PartlyOffScreen =
    "Ein Teil des Fensters lag im nicht sichtbaren Bildschirmbereich, dieser Bereich fehlt im "
    "Screenshot!";
inline constexpr const char* NothingToCapture =
    "Es gibt kein aktives Fenster, das aufgenommen werden könnte. Klicken Sie das Fenster an und "
    "drücken Sie den Hotkey erneut.";
inline constexpr const char* CaptureOutOfMemory =
    "Für den Screenshot ist nicht genug Speicher frei.";

// Save pipeline; the file name is put between the parts.
inline constexpr const char* CannotSaveFileBefore = "Konnte Datei ";
inline constexpr const char* CannotSaveFileAfter = " nicht speichern!";

}  // namespace klipora::text
