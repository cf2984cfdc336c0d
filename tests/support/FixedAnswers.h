#pragma once
// A user who gives the same answer to every question.

#include "operations/UserPrompts.h"

namespace lsu::test {

template <bool kYes>
class FixedAnswer : public UserPrompts {
public:
    bool ask(const std::string&, const std::string&, MessageKind) override { return kYes; }
};

using AnswerYes = FixedAnswer<true>;
using AnswerNo = FixedAnswer<false>;

}  // namespace lsu::test
