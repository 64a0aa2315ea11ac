#pragma once

#include <QFile>
#include <QString>

#include <string>
#include <string_view>

// The one conversion between the core's text (UTF-8) and Qt's, both ways.
inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string toUtf8(const QString& text)
{
    return text.toStdString();
}

// A path as the window shows it, in the bytes the file system takes, and back.
inline std::string toLocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString fromLocalPath(const std::string& path)
{
    return QFile::decodeName(path.c_str());
}

// A name as a sentence of the window quotes it.
inline QString quotedName(std::string_view name)
{
    return QStringLiteral("\u201C") + toQString(name) + QStringLiteral("\u201D");
}
