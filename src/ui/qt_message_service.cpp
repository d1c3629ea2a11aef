#include "ui/qt_message_service.h"

#include "ui/application.h"
#include "ui/font_warm_up.h"

#include <QApplication>
#include <QMessageBox>

namespace kelvane {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtMessageService::show(std::string_view text, MessageIcon icon, std::string_view title)
{
    // The texts break their lines with CR LF, as the script does.
    QString body = fromUtf8(text);
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    // A message may come before the first window (a settings file set aside at start).
    awaitFontWarmUp();
    presentProgramIcon();
    QMessageBox box(boxIcon(icon), fromUtf8(title), body, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace kelvane
