#pragma once

#include "gui/alert.h"
#include "gui/browser.h"
#include "gui/file_chooser.h"

#include <QString>
#include <QUrl>

#include <deque>
#include <optional>
#include <vector>

namespace tokenade::testing {

// Answers each chooser with the next answer queued (nothing: cancel) and
// remembers what it was asked.
struct FakeChooser : FileChooser {
    std::optional<QString> choose(const ChooserOptions& options) override
    {
        asked.push_back(options);
        if (answers.empty())
            return std::nullopt;
        const std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<QString>> answers;
    std::vector<ChooserOptions> asked;
};

struct ShownAlert {
    QString messageText;
    QString informativeText;
    QString button;
};

// Records alerts instead of showing them.
struct FakeAlert : Alert {
    void show(const QString& messageText, const QString& informativeText, const QString& button) override
    {
        shown.push_back({messageText, informativeText, button});
    }
    void showAbout(const QString& title, const QString& text) override { about.push_back({title, text, {}}); }
    // Answers with the next answer queued; no answer: cancel.
    bool ask(const QString& question, const QString& details, const QString& confirm) override
    {
        asked.push_back({question, details, confirm});
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty())
            answers.pop_front();
        return yes;
    }

    std::vector<ShownAlert> shown;
    std::vector<ShownAlert> about;
    std::vector<ShownAlert> asked;
    std::deque<bool> answers;
};

// As if no browser were there: the commands must not care.
struct FakeBrowser : Browser {
    bool openUrl(const QUrl& url) override
    {
        opened.push_back(url);
        return false;
    }

    std::vector<QUrl> opened;
};

}  // namespace tokenade::testing
