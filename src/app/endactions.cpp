#include "app/endactions.h"

#include "billing/pricerows.h"
#include "platform/apptitle.h"

#include <QCoreApplication>

#include <memory>

namespace kaldora::app {

namespace {

// The question of the session's end while prices cannot be saved, put
// under the reason.
constexpr std::string_view kEndAnyway = "ODJAVITI SE IPAK, BEZ UPISANIH CENA?";
constexpr std::string_view kEndButton = "ODJAVI SE";
constexpr std::string_view kStayButton = "PREKINI ODJAVU";
// Why the session's end waits, where the system shows it (Windows lists it
// with the program on its screen of programs that keep the session open).
constexpr std::string_view kHoldReason =
    "CENE NISU UPISANE. ODGOVORITE NA PITANJE PROGRAMA KALDORA.";

// The report of what could not be saved, for the error output (no message
// box can be answered at the end): the reason, and the six prices as they
// were typed, each with its row's name, so that the user can type them again.
QByteArray reportText(const price_list::Form1::Unsaved& unsaved)
{
    const QByteArray program = QCoreApplication::applicationName().toUtf8();
    QByteArray text;
    for (const QString& line : unsaved.reason.split(QLatin1Char('\n'))) {
        text += program + ": " + line.toUtf8() + '\n';
    }
    text += program + ": cene kako su upisane:\n";
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        const std::string_view name = billing::kPriceRows[row].name;
        text += program + ":   " + QByteArray(name.data(), static_cast<qsizetype>(name.size())) +
                ": " + unsaved.texts[row].toUtf8() + '\n';
    }
    return text;
}

void writeOut(std::FILE* out, const QByteArray& text)
{
    // Nothing more can be done about a failed write of the error output;
    // the exit status still says that the prices were not saved.
    const std::size_t written =
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), out);
    static_cast<void>(written);
    std::fflush(out);
}

// What the end has reported so far. The session manager's request to save
// and the end that follows it mostly find the very same prices unsaved: the
// report is written at the first, so that it is there even if the session
// then kills the program, and not again.
struct Reports {
    std::FILE* out;
    QByteArray last;
    QString lastReason;

    bool write(const std::optional<price_list::Form1::Unsaved>& unsaved)
    {
        if (!unsaved) {
            last.clear();
            return true;
        }
        QByteArray text = reportText(*unsaved);
        if (text != last) {
            writeOut(out, text);
            last = std::move(text);
        }
        lastReason = unsaved->reason;
        return false;
    }
};

} // namespace

OrderlyShutdown::Actions endActions(main_window::WindowOwner& windows,
                                    platform::QtMessageBox& messages,
                                    platform::SessionEndHold& hold, std::FILE* errorOutput)
{
    auto reports = std::make_shared<Reports>(Reports{errorOutput, {}, {}});
    return {
        .savePending = [&windows, reports] { return reports->write(windows.savePendingEdits()); },
        .confirmEndUnsaved =
            [&messages, &hold, reports] {
                const QByteArray text = reports->lastReason.toUtf8() + "\n\n" +
                                        QByteArray(kEndAnyway.data(), kEndAnyway.size());
                // Windows would end the program a few seconds into the
                // question, and the prices with it, unless it says why it
                // waits.
                hold.hold(kHoldReason);
                const bool endAnyway = messages.ask(
                    std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                    platform::kApplicationTitle, kEndButton, kStayButton);
                hold.release();
                return endAnyway;
            },
        .closeUnattended =
            [&windows, &messages, reports] {
                // Nobody may be there to answer a message any more.
                messages.setUnattended();
                return reports->write(windows.closeUnattended());
            },
    };
}

} // namespace kaldora::app
