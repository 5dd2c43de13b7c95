#include "qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>

namespace kaldora::platform {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtMessageBox::show(std::string_view text, std::string_view caption)
{
    QMessageBox box(QMessageBox::NoIcon, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    // Only the OK button exists, so whichever way the box is closed means OK.
    box.exec();
}

} // namespace kaldora::platform
