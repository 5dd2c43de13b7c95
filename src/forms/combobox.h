#pragma once

#include <QComboBox>

namespace kaldora::forms {

// A drop-down combo box: a text part the user may type into freely and a
// list to pick from. Only a pick from the list (with the mouse or the arrow
// keys) is a pick: a typed text stays a typed text, even when it equals an
// entry and the user presses Enter or leaves the box. A screen reader calls
// it by its accessible name and reads its text as the value (see
// ComboBoxAccessible).
class ComboBox final : public QComboBox {
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);
};

} // namespace kaldora::forms
