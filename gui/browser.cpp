#include "browser.h"

#include <QDesktopServices>

bool QtBrowser::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
