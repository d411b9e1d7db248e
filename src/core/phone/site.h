#pragma once
// The phone page's answers: which partner a request is for (by the secret in its path),
// the checks every request passes (lock-out, Host, Origin, form token), the form with its
// ± steps, and the save of a weighing through the same checks as 保存 on the input screen.
// No network here: the server hands in one whole request and sends back the answer.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/base/colour.h"
#include "core/phone/address.h"
#include "core/phone/form_tokens.h"
#include "core/phone/guard.h"
#include "core/phone/http.h"
#include "core/store/preferences.h"
#include "core/text/dates.h"

namespace pairly::phone {

struct Request {
    std::string method;  // GET or POST (checkHead refused the others)
    std::string path;
    std::string host;                   // the Host header
    std::optional<std::string> origin;  // the Origin header, when sent
    std::string contentType;
    std::string body;
    std::string peer;  // the client's address, as text
};

// What the desktop knows when the request is answered.
struct SiteContext {
    std::filesystem::path folder;
    text::Date today;
    int secondsNow = 0;   // since midnight
    long long nowMs = 0;  // monotonic
    store::ScaleSteps steps;
    bool autoTime = false;
    std::array<base::Rgb, 2> colours;
    std::vector<IpAddress> ownAddresses;
    int port = 0;
};

struct SavedWeighing {
    int slot = 0;
    std::string nickname;
    int secondsNow = 0;
};

struct Answer {
    Response response;
    std::optional<SavedWeighing> saved;  // a weighing was written
};

class Site {
public:
    // A secret that is not one (isSecret) opens nothing.
    void setSecrets(const std::array<std::string, 2>& secrets) { secrets_ = secrets; }
    // The partner whose page the path is (1 or 2), compared in constant time; 0 for none.
    int slotOfPath(const std::string& path) const;
    // Whether answering may write a log: the server lets such a request wait while the
    // desktop is in the middle of something.
    bool mayWrite(const Request& request) const;
    Answer handle(const Request& request, const SiteContext& context);

private:
    Answer post(const Request& request, const SiteContext& context, int slot);

    std::array<std::string, 2> secrets_;
    Guard guard_;
    FormTokens tokens_;
};

}  // namespace pairly::phone
