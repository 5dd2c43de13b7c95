#include "support/pricelistfolder.h"

#include "price_list/pricetable.h"

namespace kaldora::tests {

namespace {

const QString kDataFolder = QStringLiteral("data");
// The variable that names the user's data folder to the program.
#ifdef _WIN32
constexpr const char* kDataVariable = "APPDATA";
#else
constexpr const char* kDataVariable = "XDG_DATA_HOME";
#endif

} // namespace

PriceListFolder::PriceListFolder()
    : m_dataHome(kDataVariable, m_folder.filePath(kDataFolder).toStdString())
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
