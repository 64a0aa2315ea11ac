#pragma once

#include "platform/alert.h"
#include "platform/browser.h"
#include "platform/file_chooser.h"
#include "platform/preferences.h"

#include <QString>
#include <QUrl>

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace tokenade::testing {

// Answers each chooser with the next answer queued (nothing: cancel) and
// remembers what it was asked.
class FakeChooser : public FileChooser {
public:
    std::optional<QString> choose(const ChooserOptions& options) override
    {
        asked.push_back(options);
        if (answers.empty())
            return std::nullopt;
        const bool confirmed = answers.front().has_value();
        const QString path = answers.front().value_or(QString());
        answers.pop_front();
        return confirmed ? std::optional<QString>(path) : std::nullopt;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<ChooserOptions> asked;
};

struct ShownAlert {
    QString messageText;
    QString informativeText;
    QString button;
};

// Records alerts instead of showing them; `onShow` runs inside, as code that
// runs while a real modal alert is open would.
class FakeAlert : public Alert {
public:
    void show(const QString& messageText, const QString& informativeText, const QString& button) override
    {
        shown.push_back({messageText, informativeText, button});
    }

    std::vector<ShownAlert> shown;
};

class FakeBrowser : public Browser {
public:
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return false;  // as if no browser were there: the command must not care
    }

    std::vector<QUrl> opened;
};

}  // namespace tokenade::testing
