// The application's texts (GBK at run time).
#pragma once

#include "runtime/runtime.h"

namespace app {

extern const char kStartupMessage[];
extern const char kOpenTipText[];
extern const char kCaptionText[];      // the window title, 38 bytes
extern const char kDialogTitle[];
extern const char kDialogFilter[];
extern const char kDialogStartFolder[];
extern const char kNothingAddedMessage[];
extern const char kDoneMessage[];
extern const char kTooManyFilesMessage[];
extern const char kDropRefusedMessage[];  // the window could not be made a drop target

rt::AnsiText AboutMessage();    // credit, contact, forum, welcome; 88 bytes
rt::AnsiText AboutLabelText();  // credit, contact, welcome, forum; 94 bytes

}  // namespace app
