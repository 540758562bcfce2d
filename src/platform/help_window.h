#pragma once
#include <QTextBrowser>

namespace plotwell::platform {

// The help window: our own HTML pages, one per context number, in resources/help.
class HelpWindow : public QTextBrowser {
public:
    static HelpWindow& instance();
    // 0 shows the contents page.
    void showTopic(int context);
    static QString pageFor(int context);

private:
    HelpWindow();
};

} // namespace plotwell::platform
