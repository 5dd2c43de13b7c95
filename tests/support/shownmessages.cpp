#include "support/shownmessages.h"

namespace kaldora::tests {

QStringList shownTexts(const RecordingMessageBox& messages)
{
    QStringList texts;
    for (const RecordingMessageBox::Shown& shown : messages.shown()) {
        texts << QString::fromStdString(shown.text);
    }
    return texts;
}

QStringList shownCaptions(const RecordingMessageBox& messages)
{
    QStringList captions;
    for (const RecordingMessageBox::Shown& shown : messages.shown()) {
        captions << QString::fromStdString(shown.caption);
    }
    return captions;
}

} // namespace kaldora::tests
