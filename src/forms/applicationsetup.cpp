#include "forms/applicationsetup.h"

#include "forms/classicpalette.h"
#include "forms/serbianqttexts.h"

#include <QApplication>

#include <stdexcept>

namespace kaldora::forms {

void prepareApplication(QApplication& application)
{
    // Once is enough: a second call would answer every text twice over.
    if (application.findChild<SerbianQtTexts*>() == nullptr) {
        auto* texts = new SerbianQtTexts(&application);
        if (!QCoreApplication::installTranslator(texts)) {
            throw std::logic_error("the Serbian texts of Qt could not be installed");
        }
    }
    QApplication::setPalette(classicPalette());
}

} // namespace kaldora::forms
