// The keys of the settings file "Config" and the about box's default texts.
#pragma once

#include <QString>

namespace settings {

inline const char* const kDialogType = "/dialogType";  // "normal" or "mini"
inline const char* const kTopMost = "/topMost";        // "true" or "false"
inline const char* const kSite = "/site";              // the about box's web link
inline const char* const kEmail = "/email";            // the about box's contact address

// Used when "/site" or "/email" is empty (and written into a first settings file).
QString defaultSite();
QString defaultEmail();

}  // namespace settings
