// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/start_failure.h"

#include "media/media_device.h"
#include "text/cp932_convert.h"

namespace tobira {

QString StartFailureText(const std::exception& error) {
    if (dynamic_cast<const DeviceBusyError*>(&error))
        return QStringLiteral("ＣＤドライブが既に使用されているためＴＯＢＩＲＡを起動できません");
    // Device and file errors carry code page 932 text; library errors are plain ASCII, which
    // code page 932 leaves as it is.
    return QStringLiteral("ＴＯＢＩＲＡを起動できません：\n") +
           QString::fromStdString(Cp932ToUtf8(error.what()));
}

} // namespace tobira
