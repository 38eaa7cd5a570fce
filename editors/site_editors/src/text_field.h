#pragma once
// A text held in a string, as the field checks read and rewrite it.
#include <string>

#include "crv/common/field_check.h"

namespace crv::editors::detail {

class StringField : public common::FieldControl {
public:
    explicit StringField(std::string& text) : text_(text) {}
    std::string text() const override { return text_; }
    void setText(const std::string& text) override { text_ = text; }

private:
    std::string& text_;
};

// Checks `text` against a field record; the text is rewritten in its normal
// form when valid. The check's own message goes through the presenter.
inline bool checkText(std::string& text, common::FieldCheck record, common::MessagePresenter& presenter) {
    StringField field(text);
    record.control = &field;
    return common::ValidateField(record, presenter);
}

// The folder (ending in "/") and the name of a path.
inline std::string folderOf(const std::string& path) {
    const auto at = path.find_last_of('/');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}
inline std::string nameOf(const std::string& path) {
    const auto at = path.find_last_of('/');
    return at == std::string::npos ? path : path.substr(at + 1);
}

}  // namespace crv::editors::detail
