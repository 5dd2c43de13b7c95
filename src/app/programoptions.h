#pragma once

#include <QString>
#include <QStringList>

namespace kaldora::app {

// What the command line asks of the kaldora program: open the window, print
// the help or the version, or nothing at all because it is wrong. Read
// before any application object exists, so the help and the version need no
// display. The options every Qt program takes (-style, -platform, a session
// manager's -session, ...) are accepted and left for Qt to act on.
class ProgramOptions {
public:
    enum class Request { Start, Help, Version, Invalid };

    // `arguments` as main() got them, the program's name first.
    static ProgramOptions parse(const QStringList& arguments);

    Request request() const { return m_request; }
    // For Invalid: what is wrong, in the user's words ("nepoznata opcija
    // \"--x\""); empty otherwise.
    const QString& error() const { return m_error; }

    // The text of --help; `priceListPath` is where the price list is kept.
    static QString helpText(const QString& priceListPath);
    // The text of --version: "kaldora 1.0.0".
    static QString versionText();

private:
    ProgramOptions(Request request, QString error);

    Request m_request;
    QString m_error;
};

} // namespace kaldora::app
