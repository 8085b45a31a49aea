#include "app/gui/unnamed_files.h"

#include <QDir>
#include <QFileInfo>

namespace kalvoro {

std::string unnamedFolder()
{
    const QFileInfo here(QDir::currentPath());
    if (here.isDir() && here.isWritable()) return std::string();
    return QDir::tempPath().toStdString() + "/";
}

std::string temporaryDataFile()
{
    return unnamedFolder() + "Temp.dat";
}

}  // namespace kalvoro
