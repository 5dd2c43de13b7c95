#include "support/pricelistfolder.h"

#include "price_list/pricetable.h"

namespace kaldora::tests {

namespace {

const QString kDataFolder = QStringLiteral("data");

} // namespace

PriceListFolder::PriceListFolder()
    : m_dataHome("XDG_DATA_HOME", m_folder.filePath(kDataFolder).toStdString())
{
}

QString PriceListFolder::filePath(const QString& name) const
{
    return m_folder.filePath(name);
}

QString PriceListFolder::dataHome() const
{
    return m_folder.filePath(kDataFolder);
}

QString PriceListFolder::defaultFileName()
{
    return QString::fromLatin1(price_list::kFileName);
}

} // namespace kaldora::tests
