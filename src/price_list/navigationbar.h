#pragma once

#include <QFrame>

#include <array>

class QLabel;
class QToolButton;

namespace kaldora::price_list {

// The record navigation bar of the price-list window: a raised bar with a
// caption in the middle and four buttons, first and previous record on the
// left, next and last record on the right. It only asks for a move; the
// window decides what moving means. Its buttons take no keyboard focus, so
// pressing them leaves the focus in the field being edited.
class NavigationBar : public QFrame {
    Q_OBJECT
public:
    enum class Button { First, Previous, Next, Last };

    explicit NavigationBar(const QString& caption, QWidget* parent = nullptr);

    QString caption() const;
    QToolButton* button(Button which) const;

signals:
    void firstRequested();
    void previousRequested();
    void nextRequested();
    void lastRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<QToolButton*, 4> m_buttons{};
    QLabel* m_caption = nullptr;
};

} // namespace kaldora::price_list
