// The yardstick for the program's start-up: the least a Qt Widgets program does to show one
// empty 640 by 480 dialog. Prints one line once the dialog is painted.
#include <QApplication>
#include <QDialog>
#include <QEvent>

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
    FirstPaint watcher;
    dialog.installEventFilter(&watcher);
    dialog.show();
    return app.exec();
}
