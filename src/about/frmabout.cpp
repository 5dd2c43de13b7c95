#include "about/frmabout.h"

#include "about/abouticon.h"
#include "about/abouttexts.h"
#include "about/frmaboutlayout.h"
#include "forms/classicpalette.h"
#include "forms/controllookup.h"
#include "forms/formlayout.h"
#include "platform/apptitle.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace kaldora::about {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void setBlackText(QWidget* label)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(p);
}

} // namespace

frmAbout::frmAbout(const platform::OsServices& services, billing::Notice& messages, QWidget* parent)
    : QDialog(parent)
    , m_sysInfo(services, messages)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed dialog border with a title bar, system menu and close box, but
    // no minimize or maximize box; as a dialog it gets no taskbar entry.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setSizeGripEnabled(false);
    setFixedSize(forms::twipsRect(0, 0, kAboutClientWidth, kAboutClientHeight).size());
    // The black texts need the light background, whatever the desktop's.
    forms::useClassicPalette(this);

    m_controls = forms::buildControls(this, frmAboutLayout());

    // Labels carry a place in the keyboard order only for their access keys;
    // they never hold the focus themselves.
    for (const char* name : {"lblDescription", "lblDisclaimer", "lblTitle", "lblVersion"}) {
        forms::control<QLabel>(m_controls, name)->setFocusPolicy(Qt::NoFocus);
    }
    for (const char* name : {"lblDescription", "lblDisclaimer", "lblTitle"}) {
        setBlackText(forms::control<QLabel>(m_controls, name));
    }

    auto* picIcon = forms::control<QLabel>(m_controls, "picIcon");
    picIcon->setPixmap(QPixmap::fromImage(aboutIcon()));

    // Enter presses the focused button, or OK when the focus is elsewhere;
    // Esc rejects the dialog, which closes it like OK does.
    auto* cmdOK = forms::control<QPushButton>(m_controls, "cmdOK");
    auto* cmdSysInfo = forms::control<QPushButton>(m_controls, "cmdSysInfo");
    cmdOK->setAutoDefault(true);
    cmdOK->setDefault(true);
    cmdSysInfo->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    cmdOK->setFocus();

    Form_Load();
}

void frmAbout::Form_Load()
{
    setWindowTitle(fromUtf8(kCaptionPrefix) + fromUtf8(platform::kApplicationTitle));
    forms::control<QLabel>(m_controls, "lblVersion")
        ->setText(QString::fromStdString(programVersionLabel()));
    forms::control<QLabel>(m_controls, "lblTitle")->setText(fromUtf8(kProgramName));
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    m_sysInfo.StartSysInfo();
}

int frmAbout::GetKeyValue(const std::int32_t& keyRoot, const std::string& keyName,
                          const std::string& subKeyRef, std::string& keyValue)
{
    return m_sysInfo.GetKeyValue(keyRoot, keyName, subKeyRef, keyValue);
}

} // namespace kaldora::about
