#pragma once
// The page's form as the browser posts it (application/x-www-form-urlencoded, UTF-8):
// the token, the situation, the seven field texts and the button pressed.
#include <optional>
#include <string>
#include <string_view>

#include "core/entry/entry_logic.h"
#include "core/store/preferences.h"

namespace pairly::phone {

// Form field names. The buttons: "act" = "show" (Enter in a field) or "save" (保存), or
// "step" = "<field index><+|->" (a ± press).
inline constexpr const char* kTokenName = "t";
inline constexpr const char* kSituationName = "s";
inline constexpr const char* kFieldNames[entry::kFieldCount] = {"v0", "v1", "v2", "v3",
                                                                "v4", "v5", "v6"};

enum class FormAction { Show, Step, Save };

struct PostedForm {
    std::string token;
    std::string situation;
    entry::FieldTexts fields;  // a field the form did not send is ""
    FormAction action = FormAction::Show;
    entry::Field stepField = entry::Field::Weight;
    bool stepUp = true;
};

// nullopt when the body is no such form: a broken %-escape, text that is not UTF-8 or
// holds control characters, a name given twice, more than 16 names, a value longer than
// 200 bytes, no token, or a button value the page never sends.
std::optional<PostedForm> parseForm(std::string_view body);

// A ± press: the field stepped by its step on the entry panel (the scale steps for weight
// and body fat); nothing is written.
void applyStep(PostedForm& form, const store::ScaleSteps& steps);

// The situation the time button gives: "7:05:09" (hours 0-23 without a leading zero).
bool isTimeSituation(std::string_view text);

}  // namespace pairly::phone
