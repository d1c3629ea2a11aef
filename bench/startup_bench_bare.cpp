// The yardstick for the program's start-up: the least a Qt Widgets program does to show one
// empty 640 by 480 dialog. Prints one line once the dialog is painted. Built a second time with
// KELVANE_BARE_WITH_TEXT, the dialog holds one line of text, which shows what loading and
// drawing fonts alone costs.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <cstdio>

namespace {

class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [] {
                    std::puts("shown");
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(640, 480);
#ifdef KELVANE_BARE_WITH_TEXT
    QLabel text(QStringLiteral("Wählen Sie die .map-Datei aus, die kompiliert werden soll."),
                &dialog);
    text.move(20, 20);
#endif
    FirstPaint watcher;
    dialog.installEventFilter(&watcher);
    dialog.show();
    return app.exec();
}
