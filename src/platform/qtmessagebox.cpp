#include "platform/qtmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>

namespace kaldora::platform {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtMessageBox::show(std::string_view text, std::string_view caption)
{
    if (m_unattended) {
        // Nothing more can be done about a failed write of the error output.
        const int written =
            std::fprintf(stderr, "%s: %.*s\n", qUtf8Printable(QCoreApplication::applicationName()),
                         static_cast<int>(text.size()), text.data());
        static_cast<void>(written);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    // Some desktop styles put a tick on an OK button; the box shows text only.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
        ok->setIcon(QIcon());
    }
    // Only the OK button exists, so whichever way the box is closed means OK.
    box.exec();
}

} // namespace kaldora::platform
