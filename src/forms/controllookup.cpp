#include "forms/controllookup.h"

#include <QMetaObject>

#include <stdexcept>

namespace kaldora::forms {

void controlMismatch(const QString& key, const char* expectedKind, const QWidget* found)
{
    const std::string name = key.toStdString();
    if (found == nullptr) {
        throw std::logic_error("the window has no control " + name + " (expected a " +
                               expectedKind + ")");
    }
    throw std::logic_error("control " + name + " is a " + found->metaObject()->className() +
                           ", not a " + expectedKind);
}

} // namespace kaldora::forms
