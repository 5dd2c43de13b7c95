#include "price_list/heldfolder.h"

#include <QDir>
#include <QRandomGenerator>

#include <atomic>

namespace kaldora::price_list {

namespace {

std::atomic<HeldFolder::Hook> testHook{nullptr};

// Six letters or digits make about 57 billion names: a new file's name
// meets an old one almost never, and then simply another is drawn.
constexpr int kRandomLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

} // namespace

void HeldFolder::setHook(Hook hook)
{
    testHook = hook;
}

void HeldFolder::runHook(Moment moment, const QString& path)
{
    if (const Hook hook = testHook.load()) {
        hook(moment, path);
    }
}

QString HeldFolder::freshPath(const QString& prefix, QString& name) const
{
    name = prefix + QLatin1Char('.');
    for (int i = 0; i < kRandomLetters; ++i) {
        name += QLatin1Char(
            kLetters[QRandomGenerator::system()->bounded(static_cast<int>(sizeof kLetters) - 1)]);
    }
    return QDir(m_path).filePath(name);
}

} // namespace kaldora::price_list
