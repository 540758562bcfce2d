#pragma once
#include <QPointer>
#include <QTextBrowser>

namespace plotwell::platform {

// The help window: our own HTML pages, one per context number, in resources/help.
class HelpWindow : public QTextBrowser {
public:
    static HelpWindow& instance();
    // 0 shows the contents page.
    void showTopic(int context);
    static QString pageFor(int context);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HelpWindow();
    // Makes the help a window of `owner` (a modal dialog), or of nobody.
    void belongTo(QWidget* owner);
    QPointer<QWidget> owner_;
};

} // namespace plotwell::platform
