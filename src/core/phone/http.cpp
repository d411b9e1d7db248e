#include "core/phone/http.h"

namespace pairly::phone {

const std::vector<Header>& commonHeaders() {
    static const std::vector<Header> headers = {
        {"Content-Type", "text/html; charset=utf-8"},
        {"Content-Security-Policy",
         "default-src 'none'; style-src 'unsafe-inline'; img-src data:; form-action 'self'; "
         "base-uri 'none'; frame-ancestors 'none'"},
        {"Referrer-Policy", "same-origin"},
        {"X-Frame-Options", "DENY"},
        {"Cache-Control", "no-store"},
        {"X-Content-Type-Options", "nosniff"},
        {"Connection", "close"},
    };
    return headers;
}

Response refusal(int status) {
    const char* text = "このリクエストは受け付けられません。";
    switch (status) {
        case 400:
            text = "リクエストを読み取れませんでした。";
            break;
        case 404:
            text =
                "ページが見つかりません。パソコンの「編集」画面のQRコードから開き直してください。";
            break;
        case 405:
            text = "この方法では開けません。";
            break;
        case 413:
        case 431:
            text = "送られた内容が大きすぎます。";
            break;
        case 415:
            text = "送られた内容の形式が違います。";
            break;
        case 429:
            text = "間違ったアドレスが続いたため、しばらく受け付けません。10分ほど待ってください。";
            break;
        case 503:
            text = "パソコン側で受付を止めました。";
            break;
        default:
            break;
    }
    Response r;
    r.status = status;
    r.body = std::string(
                 "<!DOCTYPE html>\n<html lang=\"ja\"><head><meta charset=\"utf-8\">"
                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                 "<link rel=\"icon\" href=\"data:,\"><title>ペアリー☆ログ</title></head>"
                 "<body style=\"font-family:sans-serif;font-size:20px;margin:16px\"><p>") +
             text + "</p></body></html>\n";
    if (status == 405) r.headers.push_back({"Allow", "GET, POST"});
    if (status == 429) r.headers.push_back({"Retry-After", "600"});
    return r;
}

std::optional<Response> checkHead(const RequestHead& head) {
    if (head.method != "GET" && head.method != "POST") return refusal(405);
    if (head.headerBytes > kMaxHeaderBytes) return refusal(431);
    if (head.contentLength) {
        const std::string& n = *head.contentLength;
        if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos)
            return refusal(400);
        if (n.size() > 6 || std::stoul(n) > kMaxBodyBytes) return refusal(413);
    }
    if (head.path.empty() || head.path.front() != '/' || head.path.size() > kMaxPathBytes)
        return refusal(404);
    return std::nullopt;
}

std::string escapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace pairly::phone
