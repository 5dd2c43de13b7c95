#include "app/endactions.h"

#include "billing/pricerows.h"

#include <QCoreApplication>

namespace kaldora::app {

bool reportUnsaved(std::FILE* out, const std::optional<price_list::Form1::Unsaved>& unsaved)
{
    if (!unsaved) {
        return true;
    }
    const QByteArray program = QCoreApplication::applicationName().toUtf8();
    QByteArray text;
    for (const QString& line : unsaved->reason.split(QLatin1Char('\n'))) {
        text += program + ": " + line.toUtf8() + '\n';
    }
    text += program + ": cene kako su upisane:\n";
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        const std::string_view name = billing::kPriceRows[row].name;
        text += program + ":   " + QByteArray(name.data(), static_cast<qsizetype>(name.size())) +
                ": " + unsaved->texts[row].toUtf8() + '\n';
    }
    // Nothing more can be done about a failed write of the error output;
    // the exit status still says that the prices were not saved.
    const std::size_t written =
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), out);
    static_cast<void>(written);
    std::fflush(out);
    return false;
}

OrderlyShutdown::Actions endActions(main_window::WindowOwner& windows,
                                    platform::QtMessageBox& messages, std::FILE* errorOutput)
{
    return {
        .savePending =
            [&windows, errorOutput] {
                return reportUnsaved(errorOutput, windows.savePendingEdits());
            },
        .closeUnattended =
            [&windows, &messages, errorOutput] {
                // Nobody may be there to answer a message any more.
                messages.setUnattended();
                return reportUnsaved(errorOutput, windows.closeUnattended());
            },
    };
}

} // namespace kaldora::app
