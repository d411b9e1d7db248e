#include "core/store/file_notices.h"

namespace pairly::store {

FileNotice staleFileNotice(std::string_view fileName, bool textKept) {
    std::string text(fileName);
    text +=
        " は、このウィンドウで読み込んだ後に、別のウィンドウか別のパソコンで変更されていました"
        "。\n上書きしないよう、保存を中止しました。\n\n"
        "今の内容を読み込み直したので、確かめてからもう一度操作してください。";
    if (textKept) text += "\n入力していた文章は、クリップボードにコピーしてあります。";
    return {text, "保存中止"};
}

FileNotice unsyncedNotice(std::string_view fileName) {
    return {std::string(fileName) +
                " に保存しましたが、ディスクに書き込まれたことを確かめられませんでした。\n"
                "停電などがあると、この変更が失われるおそれがあります。"
                "ディスクの状態を確認してください。",
            "書き込み確認エラー"};
}

}  // namespace pairly::store
