#pragma once

#include <QUrl>

// Opens a web address in the user's browser; says whether that was possible.
class Browser {
public:
    virtual ~Browser() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};

class QtBrowser : public Browser {
public:
    bool openUrl(const QUrl& url) override;
};
