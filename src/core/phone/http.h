#pragma once
// What every answer of the phone page carries, the small pages that refuse a request, and
// the bounds a request must keep before it is looked at any further.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pairly::phone {

struct Header {
    std::string name, value;
    bool operator==(const Header&) const = default;
};

struct Response {
    int status = 200;
    std::string body;             // UTF-8 HTML
    std::vector<Header> headers;  // besides commonHeaders()
    int delayMs = 0;              // answered this much later (a wrong secret)
};

// Bounds of one request.
inline constexpr std::size_t kMaxHeaderBytes = 8 * 1024;
inline constexpr std::size_t kMaxBodyBytes = 4 * 1024;
inline constexpr std::size_t kMaxPathBytes = 128;

// The headers of every answer: the type, a Content-Security-Policy without scripts or
// outside resources, Referrer-Policy same-origin (the secret in the address never leaves
// for another site, while the page's own form still sends its origin), no framing, no
// caching, no type sniffing, and one request per connection.
const std::vector<Header>& commonHeaders();

// A short page in Japanese for a refused request: 400, 403, 404, 405, 413, 415, 429, 431,
// 503. A wrong secret and a page that does not exist get the same 404.
Response refusal(int status);

// The request line and headers, before any body is read.
struct RequestHead {
    std::string method;
    std::string path;
    std::size_t headerBytes = 0;  // request line and headers
    std::optional<std::string> contentLength;
};
// 405 for a method other than GET and POST, 431 for headers past the bound, 413 for a
// declared body past it, 404 for a path that no page can have (too long, not starting
// with "/"); nullopt when the request may go on.
std::optional<Response> checkHead(const RequestHead& head);

// Escapes & < > " ' for HTML text and attribute values.
std::string escapeHtml(std::string_view text);

}  // namespace pairly::phone
