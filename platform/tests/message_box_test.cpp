#include "crv/platform/message_box.h"

#include <gtest/gtest.h>

using namespace crv::platform;

namespace {
struct Seen {
    std::string text, title;
    MessageIcon icon = MessageIcon::None;
    int count = 0;
};
void present(const std::string& text, const std::string& title, MessageIcon icon, void* ctx) {
    auto* s = static_cast<Seen*>(ctx);
    s->text = text;
    s->title = title;
    s->icon = icon;
    ++s->count;
}
}  // namespace

TEST(MessageBox, InstalledPresenterTakesTheMessage) {
    Seen seen;
    setMessagePresenter(present, &seen);
    showMessage(" No FM facilities found. ", "Warning", MessageIcon::Information);
    setMessagePresenter(nullptr, nullptr);
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.text, " No FM facilities found. ");  // blanks kept
    EXPECT_EQ(seen.title, "Warning");
    EXPECT_EQ(seen.icon, MessageIcon::Information);
}

TEST(MessageBox, WithoutPresenterItGoesToStandardError) {
    testing::internal::CaptureStderr();
    showMessage("line one\rline two", "CRV Error", MessageIcon::Exclamation);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "CRV Error: line one\nline two\n");
}
