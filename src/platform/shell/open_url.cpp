#include "platform/shell/open_url.h"

#include <QDesktopServices>
#include <QUrl>

namespace shell {

void OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

} // namespace shell
