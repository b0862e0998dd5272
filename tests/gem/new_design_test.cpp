#include "gem/new_design_input.h"

#include <gtest/gtest.h>

namespace {
NewDesignCheck Check(const char* systemIndex, const char* parts, const char* offset) {
    NewDesignInput input;
    input.SystemIndexText = systemIndex;
    input.PartsText = parts;
    input.OffsetText = offset;
    return CheckNewDesignInput(input);
}
} // namespace

TEST(NewDesignInput, RefusesInTheDialogsOrderWithMessageAndField) {
    struct Case {
        const char *si, *parts, *offset, *message;
        NewDesignField field;
    } cases[] = {
        {"x", "0", "y", "Error in system index", NewDesignField::SystemIndex},
        {"9.5", "8", "0", "Error in system index", NewDesignField::SystemIndex},
        {"0", "8", "0", "system index must not be zero", NewDesignField::SystemIndex},
        {"2", "8", "0", "system index is too small", NewDesignField::SystemIndex},
        {"-2", "8", "0", "system index is too small", NewDesignField::SystemIndex},
        {"96", "", "0", "Error in number of parts", NewDesignField::Parts},
        {"96", "0", "x", "Number of parts must be positive", NewDesignField::Parts},
        {"96", "7", "x", "Error in offset index", NewDesignField::Offset},
        {"96", "7", "0", "system index must be a multiple of parts", NewDesignField::Parts},
    };
    for (const Case& c : cases) {
        const NewDesignCheck check = Check(c.si, c.parts, c.offset);
        EXPECT_EQ(check.Message, c.message) << c.si << " " << c.parts << " " << c.offset;
        EXPECT_EQ(check.Field, c.field) << c.message;
    }
}

TEST(NewDesignInput, AcceptsSmallGearsAndBringsTheOffsetIntoRange) {
    NewDesignCheck three = Check("3", "3", "0");
    ASSERT_TRUE(three.Ok());
    EXPECT_EQ(three.SystemIndex, 3);
    EXPECT_EQ(Check("-3", "1", "0").SystemIndex, -3);
    EXPECT_EQ(Check("96", "8", "-5").Offset, 91);
    EXPECT_EQ(Check("96", "8", "96").Offset, 96);
    EXPECT_EQ(Check("96", "8", "200").Offset, 8);
    EXPECT_EQ(Check("-96", "8", "-96").Offset, 0);
    EXPECT_EQ(Check("-96", "8", "-97").Offset, 95);
}

TEST(NewDesignInput, TakesMirrorAndType) {
    NewDesignInput input;
    input.Mirror = false;
    input.Pavilion = true;
    const NewDesignCheck check = CheckNewDesignInput(input);
    ASSERT_TRUE(check.Ok());
    EXPECT_FALSE(check.Mirror);
    EXPECT_EQ(check.Type, 'p');
    EXPECT_EQ(check.Parts, 8);
}
