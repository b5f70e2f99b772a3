// The keys of the settings file "Config", the about box's default texts, and
// the reading and writing of the user's settings.
#pragma once

#include <QString>

struct AppState;

namespace settings {

inline const char* const kDialogType = "/dialogType";  // "normal" or "mini"
inline const char* const kTopMost = "/topMost";        // "true" or "false"
inline const char* const kSite = "/site";              // the about box's web link
inline const char* const kEmail = "/email";            // the about box's contact address
// The user's settings (see loadUserSettings); older versions ignore these keys.
inline const char* const kAnswerDecimals = "/answerDecimals";  // 0 to 10000000
inline const char* const kValueLimit = "/valueLimit";          // "1e33" (1e1 to 1e1000000000) or "off"
inline const char* const kKeepHistory = "/keepHistory";        // "true" or "false"
inline const char* const kEnterEvaluates = "/enterEvaluates";  // "true" or "false"
// The main window's layout: base64 of QWidget::saveGeometry and QSplitter::saveState, without the
// trailing "=" (which the file's syntax does not allow in a value).
inline const char* const kMainWindowGeometry = "/mainWindowGeometry";
inline const char* const kSplitterState = "/splitterState";

// Used when "/site" or "/email" is empty (and written into a first settings file).
QString defaultSite();
QString defaultEmail();

// Reads the user's settings from the settings store (index 0), which must be
// loaded: the answer decimals and the value limit are put in force in the
// evaluator, the rest goes into `state` (the layout as padded base64 texts).
// A key that is missing, repeated, malformed or out of range gives its default
// (40 decimals, the limit 1e33, history kept, Ctrl+Enter evaluates, no layout).
void loadUserSettings(AppState& state);
// Writes the evaluator's answer decimals and value limit and the settings of
// `state` into the settings store, adding the keys a file lacks; the other
// keys stay as they are. A layout text that is empty or not base64 is not
// written. Nothing is written to a store without a root; the file is not saved.
void saveUserSettings(const AppState& state);

}  // namespace settings
