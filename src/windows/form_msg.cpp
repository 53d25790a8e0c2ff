// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/form_msg.h"

#include "text/cp932_convert.h"
#include "windows/program_version.h"

namespace tobira {

TFormMsg::TFormMsg() : FormModel("作者からのメッセージ", 420, 330) {
    const char* texts[kMessageCount] = {
        "ＴＯＢＩＲＡを使ってくださってありがとうございます。",
        "ＣＤはトラックコントロールで好きな順番に並べて保存できます。",
        "ＭＩＤＩはリセット曲で音源を整えてから演奏します。",
        "ライブ機能をＯＮにすると、曲の始まりに拍手が聞こえます。",
        "毎日の音楽が、少しだけ楽しくなりますように。",
    };
    for (int i = 0; i < kMessageCount; ++i)
        messages_[i] = Utf8ToCp932(texts[i]);
    LabelMessage = messages_[0];
    LabelVersion = std::string("TOBIRA ") + kProgramVersion + " (" + kProgramDate + ")";
    LabelLicence = Utf8ToCp932(kProgramLicence);
}

void TFormMsg::FormShow() {
    if (Facts)
        About = Facts();
}

void TFormMsg::Image1Click() {
    MessageIndex = (MessageIndex + 1) % kMessageCount;
    LabelMessage = messages_[MessageIndex];
}

} // namespace tobira
