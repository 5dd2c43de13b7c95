#include "platform/qtmessagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace kaldora::platform {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A box without an icon over the active window, modal for the whole
// application.
void prepare(QMessageBox& box, std::string_view text, std::string_view caption)
{
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(fromUtf8(caption));
    box.setText(fromUtf8(text));
    box.setWindowModality(Qt::ApplicationModal);
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
    QMessageBox box(QApplication::activeWindow());
    prepare(box, text, caption);
    box.setStandardButtons(QMessageBox::Ok);
    // Some desktop styles put a tick on an OK button; the box shows text only.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
        ok->setIcon(QIcon());
    }
    // Only the OK button exists, so whichever way the box is closed means OK.
    box.exec();
}

bool QtMessageBox::ask(std::string_view text, std::string_view caption, std::string_view yes,
                       std::string_view no)
{
    if (m_unattended) {
        return false;
    }
    QMessageBox box(QApplication::activeWindow());
    prepare(box, text, caption);
    const QPushButton* yesButton = box.addButton(fromUtf8(yes), QMessageBox::AcceptRole);
    QPushButton* noButton = box.addButton(fromUtf8(no), QMessageBox::RejectRole);
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton;
}

} // namespace kaldora::platform
