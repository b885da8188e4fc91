// The overlay stack: lazy opening, the input dropped after a push, the buttons held from before an
// overlay came up kept from it, exits that uncover the overlay below by copying it, a full stack
// and a permanent top, and the controllers' reset flag.
#include "overlays/overlaystack.h"

#include <gtest/gtest.h>

#include <string>

#include "lib/screenapi.h"
#include "platform/input.h"

namespace {

// Every handler call, as "<overlay><handler>" (o open, d draw, u update, i input, c close).
std::string log;
int closeAllowed = 1;
int openResult = 1;

template <char Name>
struct Recorder {
    static int Open() { return log += std::string(1, Name) + "o ", openResult; }
    static int Draw() { return log += std::string(1, Name) + "d ", 1; }
    static int Update() { return log += std::string(1, Name) + "u ", 1; }
    static int Input() { return log += std::string(1, Name) + "i ", 1; }
    static int Close() { return log += std::string(1, Name) + "c ", closeAllowed; }
    static OVERLAYTAG Tag(int permanent = 0) { return OVERLAYTAG{Open, Draw, Update, Input, Close, permanent}; }
};
using A = Recorder<'A'>;
using B = Recorder<'B'>;

class OverlayStack : public ::testing::Test {
protected:
    void SetUp() override
    {
        OverlayResetStack();
        log.clear();
        closeAllowed = openResult = 1;
        savedResult = ScreenGetResult();
    }
    void TearDown() override
    {
        OverlayResetStack();
        ScreenSetResult(savedResult);
        for (joystickState& c : controllers) c.flags = 0;
        ClearInputs();
    }
    // One frame as the game pumps the stack.
    static void Frame()
    {
        OverlayHandleInput();
        OverlayUpdate();
        OverlayDraw();
    }
    int savedResult = 0;
};

TEST_F(OverlayStack, AnOverlayOpensOnItsFirstUpdateAndDrawsOnlyAfterIt)
{
    EXPECT_EQ(OverlayExists(), 0);
    OVERLAYTAG a = A::Tag();
    ASSERT_EQ(OverlaySelect(&a), 1);
    EXPECT_EQ(OverlayExists(), 1);
    EXPECT_EQ(OverlayDraw(), 1);
    EXPECT_EQ(log, "") << "not drawn before it is opened";
    EXPECT_EQ(OverlayUpdate(), 1);
    EXPECT_EQ(log, "Ao Au ") << "opened and updated in the same frame";
    OverlayUpdate();
    OverlayDraw();
    EXPECT_EQ(log, "Ao Au Au Ad ") << "opened once";
    EXPECT_EQ(OverlayExit(), 1);
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_EQ(OverlayExit(), 0) << "nothing left to exit";
}

TEST_F(OverlayStack, TheFirstThreeInputCallsAfterAPushAreDropped)
{
    OVERLAYTAG a = A::Tag(), b = B::Tag();
    OverlaySelect(&a);
    OverlayUpdate();
    log.clear();
    for (int i = 0; i < 4; ++i) OverlayHandleInput();
    EXPECT_EQ(log, "Ai ");
    OverlaySelect(&b);
    OverlayUpdate();
    log.clear();
    for (int i = 0; i < 4; ++i) OverlayHandleInput();
    EXPECT_EQ(log, "Bi ") << "every push drops three again";

    // The overlay uncovered by an exit is not opened again and takes input at once.
    log.clear();
    ASSERT_EQ(OverlayExit(), 1);
    Frame();
    EXPECT_EQ(log, "Bc Ai Au Ad ");
}

TEST_F(OverlayStack, ExitUncoversTheOverlayBelowAndAnEmptiedStackKeepsNothing)
{
    OVERLAYTAG a = A::Tag(), b = B::Tag();
    OverlaySelect(&a);
    OverlayUpdate();
    OverlaySelect(&b);
    OverlayUpdate();
    EXPECT_EQ(OverlayStackSize(), 2);
    ASSERT_EQ(OverlayExit(), 1);
    EXPECT_EQ(OverlayStackSize(), 1);
    OVERLAYTAG top = {};
    ASSERT_EQ(OverlayGetHandlers(&top), 1);
    EXPECT_EQ(top.drawHandler, a.drawHandler);
    ASSERT_EQ(OverlayExit(), 1);
    EXPECT_EQ(OverlayExists(), 0);

    // Asking for the handlers of the empty stack gives none and brings nothing back.
    top = a;
    ASSERT_EQ(OverlayGetHandlers(&top), 1);
    EXPECT_EQ(top.openHandler, nullptr);
    EXPECT_EQ(top.drawHandler, nullptr);
    EXPECT_EQ(top.inputHandler, nullptr);
    EXPECT_EQ(top.closeHandler, nullptr);
    EXPECT_EQ(OverlayExists(), 0) << "a closed overlay must not come back";
    EXPECT_EQ(OverlayGetHandlers(nullptr), 0);
}

TEST_F(OverlayStack, AFullStackRefusesAPushAndSaysSo)
{
    OVERLAYTAG a = A::Tag(), b = B::Tag();
    for (int i = 0; i < kOverlayStackDepth - 1; ++i) ASSERT_EQ(OverlaySelect(&a), 1);
    ASSERT_EQ(OverlaySelect(&b), 1);
    OverlayUpdate();
    log.clear();
    EXPECT_EQ(OverlaySelect(&a), 0) << "a sixth overlay is not pushed";
    EXPECT_EQ(OverlayStackSize(), kOverlayStackDepth);
    OverlayUpdate();
    EXPECT_EQ(log, "Bu ") << "the top is neither replaced nor opened again";
}

TEST_F(OverlayStack, APermanentTopRefusesEveryPush)
{
    OVERLAYTAG a = A::Tag(1), b = B::Tag();
    ASSERT_EQ(OverlaySelect(&a), 1);
    EXPECT_EQ(OverlaySelect(&b), 0);
    EXPECT_EQ(OverlayStackSize(), 1);
}

TEST_F(OverlayStack, ARefusedCloseKeepsTheOverlayAndAFailedOpenIsNotRetried)
{
    OVERLAYTAG a = A::Tag();
    OverlaySelect(&a);
    openResult = 0;
    EXPECT_EQ(OverlayUpdate(), 0);
    openResult = 1;
    EXPECT_EQ(OverlayUpdate(), 1);
    EXPECT_EQ(log, "Ao Au ") << "no second open";
    closeAllowed = 0;
    EXPECT_EQ(OverlayExit(), 0);
    EXPECT_EQ(OverlayExists(), 1);
    closeAllowed = 1;
    EXPECT_EQ(OverlayExit(), 1);
}

TEST_F(OverlayStack, ReselectingTheTopOpensItAgain)
{
    OVERLAYTAG a = A::Tag();
    OverlaySelect(&a);
    OverlayUpdate();
    ASSERT_EQ(OverlaySelect(nullptr), 1);
    OverlayUpdate();
    EXPECT_EQ(log, "Ao Au Ao Au ");
}

// During a game each push marks the first four controllers and each exit clears the mark.
TEST_F(OverlayStack, DuringAGameControllersAreFlaggedWhileAnOverlayIsPushed)
{
    OVERLAYTAG a = A::Tag();
    ScreenSetResult(5);
    OverlaySelect(&a);
    EXPECT_EQ(controllers[0].flags & 2u, 0u) << "not in a game";
    OverlayExit();
    ScreenSetResult(1);
    OverlaySelect(&a);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(controllers[i].flags & 2u, 2u) << i;
    EXPECT_EQ(controllers[4].flags & 2u, 0u);
    OverlayExit();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(controllers[i].flags & 2u, 0u) << i;
}

// An input handler that hands over on a new press of A, as the score sheet does: closes itself and
// pushes B.
int HandOverOnA()
{
    const joystickState in = OverlayInput();
    if (uint16_t(in.edges & in.buttons) != kButtonA) return 1;
    OverlayExit();
    OVERLAYTAG b = B::Tag();
    return OverlaySelect(&b);
}

void SetInput(uint16_t held, uint16_t edges)
{
    allInput.buttons = held;
    allInput.edges = edges;
}

// An overlay answers presses that begin after it came to the top (pushed or uncovered): a button
// held then is not its, nor its release, however long it is held; a new press is.
TEST_F(OverlayStack, AButtonHeldWhenAnOverlayComesUpIsNotItsUntilLetGo)
{
    OVERLAYTAG a = A::Tag(), first = {A::Open, A::Draw, A::Update, HandOverOnA, A::Close, 0};
    SetInput(0, 0);
    OverlaySelect(&a);
    OverlaySelect(&first);
    for (int i = 0; i < 4; ++i) Frame();
    SetInput(kButtonA, kButtonA);
    Frame();
    ASSERT_EQ(OverlayStackSize(), 2) << "A's press handed over to B";
    for (int i = 0; i < 10; ++i) {
        SetInput(kButtonA, 0);
        EXPECT_EQ(OverlayInput().buttons, 0) << "held since before B came up";
        Frame();
    }
    SetInput(0, kButtonA);
    EXPECT_EQ(OverlayInput().edges, 0) << "its release is not B's either";
    Frame();
    SetInput(kButtonA, kButtonA);
    EXPECT_EQ(OverlayInput().edges, kButtonA) << "a new press is";
    EXPECT_EQ(OverlayInput().buttons, kButtonA);
    Frame();

    // B goes while X is held: X is not the uncovered overlay's until let go and pressed again,
    // even where no input call saw it let go.
    SetInput(kButtonX, kButtonX);
    ASSERT_EQ(OverlayExit(), 1);
    EXPECT_EQ(OverlayInput().buttons, 0);
    Frame();
    SetInput(0, kButtonX);
    EXPECT_EQ(OverlayInput().edges, 0);
    SetInput(kButtonX, kButtonX);
    EXPECT_EQ(OverlayInput().edges, kButtonX);
}

// Leaving a game closes every overlay, top first; a refusing close handler stops it there.
TEST_F(OverlayStack, ExitAllClosesTopFirstAndStopsAtARefusal)
{
    OVERLAYTAG a = A::Tag(), b = B::Tag();
    OverlaySelect(&a);
    Frame();
    OverlaySelect(&b);
    Frame();
    log.clear();
    EXPECT_EQ(OverlayExitAll(), 1);
    EXPECT_EQ(log, "Bc Ac ");
    EXPECT_EQ(OverlayExists(), 0);
    EXPECT_EQ(OverlayExitAll(), 1) << "nothing to close";

    OverlaySelect(&a);
    OverlaySelect(&b);
    Frame();
    closeAllowed = 0;
    log.clear();
    EXPECT_EQ(OverlayExitAll(), 0);
    EXPECT_EQ(log, "Bc ");
    EXPECT_EQ(OverlayStackSize(), 2);
}

}  // namespace
