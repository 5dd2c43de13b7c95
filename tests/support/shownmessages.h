#pragma once

#include "support/recordingmessagebox.h"

#include <QStringList>

namespace kaldora::tests {

// The texts and the captions a recording message box was shown, for
// comparing with Qt's own strings.
QStringList shownTexts(const RecordingMessageBox& messages);
QStringList shownCaptions(const RecordingMessageBox& messages);

} // namespace kaldora::tests
