// Every widget state of the look gallery (tools/gallery.cpp), each compared
// with its reference picture under tests/golden/look/.
#include "GoldenImage.h"
#include "TestSupport.h"
#include "look/TemplateLookAndFeel.h"
#include "look/TitleColourWindow.h"
#include "windows/GlassWindowButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace
{
using Draw = std::function<void(juce::Graphics&, TemplateLookAndFeel&)>;

struct Picture
{
    juce::String name;
    int width, height;
    Draw draw;
};

void paint(juce::Component& c, juce::Graphics& g, TemplateLookAndFeel& lnf)
{
    c.setLookAndFeel(&lnf);
    c.paintEntireComponent(g, true);
    c.setLookAndFeel(nullptr);
}

Picture textButton(const juce::String& state, bool over, bool down, bool enabled, bool toggled)
{
    return {"text-button-" + state, 80, 26,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::TextButton b(state);
                b.setLookAndFeel(&lnf);
                b.setSize(80, 26);
                b.setEnabled(enabled);
                b.setToggleState(toggled, juce::dontSendNotification);
                const auto colour = b.findColour(toggled ? juce::TextButton::buttonOnColourId
                                                         : juce::TextButton::buttonColourId);
                lnf.drawButtonBackground(g, b, colour, over, down);
                lnf.drawButtonText(g, b, over, down);
                b.setLookAndFeel(nullptr);
            }};
}

Picture tickBox(const juce::String& state, bool ticked, bool enabled, bool over, bool down)
{
    return {"tick-box-" + state, 40, 40,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::ToggleButton t("tick");
                t.setLookAndFeel(&lnf);
                lnf.drawTickBox(g, t, 4.0f, 4.0f, 32.0f, 32.0f, ticked, enabled, over, down);
                t.setLookAndFeel(nullptr);
            }};
}

Picture comboBox(const juce::String& state, bool enabled, bool coloured)
{
    return {"combo-box-" + state, 200, 24,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::ComboBox box;
                box.addItem("(Disconnected)", 1);
                box.addItem("Midi Through Port-0", 2);
                box.setSelectedId(2, juce::dontSendNotification);
                box.setEnabled(enabled);
                if (coloured)
                    box.setColour(juce::ComboBox::buttonColourId, juce::Colour(0xFFBBBBFF));
                box.setSize(200, 24);
                paint(box, g, lnf);
            }};
}

Picture popup(const juce::String& name, bool ofComboBox, const juce::StringArray& items, int highlighted)
{
    const int rowH = 22;
    const int w = 200;
    const int h = rowH * items.size() + 4;
    return {name, w, h,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::ComboBox box;
                auto options = juce::PopupMenu::Options();
                if (ofComboBox)
                    options = options.withTargetComponent(&box);
                lnf.drawPopupMenuBackgroundWithOptions(g, w, h, options);
                for (int i = 0; i < items.size(); ++i)
                {
                    juce::PopupMenu::Item item(items[i]);
                    item.itemID = i + 1;
                    item.isTicked = i == 1;
                    lnf.drawPopupMenuItemWithOptions(g, {2, 2 + i * rowH, w - 4, rowH}, i == highlighted,
                                                     item, options);
                }
            }};
}

Picture progressBar(double value)
{
    const auto text = juce::String((int)(value * 100)) + "%";
    return {"progress-bar-" + juce::String((int)(value * 100)), 300, 20,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                double shown = value;
                juce::ProgressBar bar(shown);
                bar.setLookAndFeel(&lnf);
                bar.setSize(300, 20);
                lnf.drawProgressBar(g, bar, 300, 20, value, text);
                bar.setLookAndFeel(nullptr);
            }};
}

Picture scrollbar(const juce::String& name, bool vertical, int w, int h, int thumbStart, int thumbSize)
{
    return {name, w, h,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::ScrollBar bar(vertical);
                bar.setLookAndFeel(&lnf);
                lnf.drawScrollbar(g, bar, 0, 0, w, h, vertical, thumbStart, thumbSize, false, false);
                bar.setLookAndFeel(nullptr);
            }};
}

Picture scrollbarButton(int direction, bool down)
{
    const char* names[] = {"up", "right", "down", "left"};
    return {juce::String("scrollbar-button-") + names[direction] + (down ? "-pressed" : ""), 16, 16,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::ScrollBar bar(true);
                bar.setLookAndFeel(&lnf);
                lnf.drawScrollbarButton(g, bar, 16, 16, direction, true, false, down);
                bar.setLookAndFeel(nullptr);
            }};
}

Picture slider(const juce::String& name, juce::Slider::SliderStyle style, int w, int h, double value,
               bool enabled)
{
    return {name, w, h,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::Slider s(style, juce::Slider::NoTextBox);
                s.setRange(0.0, 1.0);
                s.setValue(value);
                s.setEnabled(enabled);
                s.setSize(w, h);
                paint(s, g, lnf);
            }};
}

Picture editor(const juce::String& state, bool outline, bool readOnly, bool enabled)
{
    return {"text-editor-" + state.replaceCharacter(' ', '-'), 210, 24,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::TextEditor e;
                e.setLookAndFeel(&lnf);
                e.setSize(210, 24);
                e.setText(state);
                e.setReadOnly(readOnly);
                e.setEnabled(enabled);
                if (outline)
                    e.setColour(juce::TextEditor::outlineColourId, juce::Colour(0xFF808080));
                paint(e, g, lnf);
            }};
}

Picture menuBar(bool enabled)
{
    return {juce::String("menu-bar-") + (enabled ? "enabled" : "disabled"), 200, 24,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                juce::MenuBarComponent bar;
                bar.setLookAndFeel(&lnf);
                bar.setEnabled(enabled);
                lnf.drawMenuBarBackground(g, 200, 24, false, bar);
                bar.setLookAndFeel(nullptr);
            }};
}

Picture cornerResizer(int size)
{
    return {"corner-resizer-" + juce::String(size), size, size,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            { lnf.drawCornerResizer(g, size, size, false, false); }};
}

Picture titleBar(const juce::String& state, bool buttonsOnLeft, bool maximiseToggled)
{
    return {"title-bar-" + state, 440, 40,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                TitleColourWindow window("Davirodir - Zodeduri firmware 1.2 rev 3", juce::Colour(0xFFEFF2F3),
                                         juce::Colour(0xFF3273A1), juce::DocumentWindow::allButtons, false);
                window.setLookAndFeel(&lnf);
                window.setUsingNativeTitleBar(false);
                window.setTitleBarHeight(24);
                window.setTitleBarButtonsRequired(juce::DocumentWindow::allButtons, buttonsOnLeft);
                window.setSize(440, 40);
                if (auto* maximise = window.getMaximiseButton())
                    maximise->setToggleState(maximiseToggled, juce::dontSendNotification);
                window.paintEntireComponent(g, true);
                window.setLookAndFeel(nullptr);
            }};
}

Picture glassButton(int type, const juce::String& state, bool over, bool down, bool enabled, bool toggled)
{
    const juce::String kind = type == juce::DocumentWindow::closeButton      ? "close"
                              : type == juce::DocumentWindow::minimiseButton ? "minimise"
                                                                             : "maximise";
    return {"glass-button-" + kind + "-" + state, 34, 40,
            [=](juce::Graphics& g, TemplateLookAndFeel& lnf)
            {
                std::unique_ptr<juce::Button> b(lnf.createDocumentWindowButton(type));
                auto* glass = dynamic_cast<GlassWindowButton*>(b.get());
                ASSERT_NE(glass, nullptr);
                glass->setSize(34, 40);
                glass->setEnabled(enabled);
                glass->setToggleState(toggled, juce::dontSendNotification);
                glass->paintButton(g, over, down);
            }};
}

std::vector<Picture> galleryPictures()
{
    std::vector<Picture> pictures = {
        textButton("normal", false, false, true, false),
        textButton("over", true, false, true, false),
        textButton("down", true, true, true, false),
        textButton("disabled", false, false, false, false),
        textButton("toggled", false, false, true, true),
        {"text-button-joined-pair", 160, 26,
         [](juce::Graphics& g, TemplateLookAndFeel& lnf)
         {
             juce::TextButton left("joined"), right("right");
             left.setConnectedEdges(juce::Button::ConnectedOnRight);
             right.setConnectedEdges(juce::Button::ConnectedOnLeft);
             right.setColour(juce::TextButton::buttonColourId, juce::Colour(0xFF7FC97F));
             left.setBounds(0, 0, 80, 26);
             right.setBounds(80, 0, 80, 26);
             paint(left, g, lnf);
             juce::Graphics::ScopedSaveState state(g);
             g.setOrigin(80, 0);
             paint(right, g, lnf);
         }},
        {"text-button-green", 100, 30,
         [](juce::Graphics& g, TemplateLookAndFeel& lnf)
         {
             juce::TextButton green("update");
             green.setColour(juce::TextButton::buttonColourId, juce::Colours::green);
             green.setSize(100, 30);
             paint(green, g, lnf);
         }},

        tickBox("off", false, true, false, false),
        tickBox("on", true, true, false, false),
        tickBox("on-over", true, true, true, false),
        tickBox("on-down", true, true, true, true),
        tickBox("off-disabled", false, false, false, false),
        tickBox("on-disabled", true, false, false, false),
        {"toggle-button", 160, 24,
         [](juce::Graphics& g, TemplateLookAndFeel& lnf)
         {
             juce::ToggleButton real("A toggle button");
             real.setToggleState(true, juce::dontSendNotification);
             real.setSize(160, 24);
             paint(real, g, lnf);
         }},

        comboBox("enabled", true, false),
        comboBox("disabled", false, false),
        comboBox("button-colour", true, true),
        popup("combo-box-list", true, {"(Disconnected)", "Midi Through Port-0", "USB MIDI Interface"}, 1),
        popup("popup-menu", false, {"Open...", "Save", "Quit"}, 0),

        progressBar(0.0),
        progressBar(0.5),
        progressBar(1.0),

        scrollbar("scrollbar-vertical-15", true, 15, 150, 30, 50),
        scrollbar("scrollbar-vertical-16", true, 16, 150, 30, 50),
        scrollbar("scrollbar-vertical-no-thumb", true, 16, 150, 0, 0),
        scrollbar("scrollbar-horizontal", false, 200, 16, 60, 70),

        scrollbarButton(0, false),
        scrollbarButton(0, true),
        scrollbarButton(1, false),
        scrollbarButton(1, true),
        scrollbarButton(2, false),
        scrollbarButton(2, true),
        scrollbarButton(3, false),
        scrollbarButton(3, true),

        slider("slider-horizontal", juce::Slider::LinearHorizontal, 200, 30, 0.3, true),
        slider("slider-horizontal-disabled", juce::Slider::LinearHorizontal, 200, 30, 0.7, false),
        slider("slider-bar", juce::Slider::LinearBar, 200, 24, 0.6, true),
        slider("slider-bar-disabled", juce::Slider::LinearBar, 200, 24, 0.6, false),
        slider("slider-vertical", juce::Slider::LinearVertical, 30, 180, 0.4, true),
        {"slider-inc-dec-buttons", 160, 24,
         [](juce::Graphics& g, TemplateLookAndFeel& lnf)
         {
             juce::Slider s(juce::Slider::IncDecButtons, juce::Slider::TextBoxLeft);
             s.setLookAndFeel(&lnf);
             s.setTextBoxStyle(juce::Slider::TextBoxLeft, false, 60, 24);
             s.setRange(0.0, 10.0, 1.0);
             s.setValue(3.0);
             s.setSize(160, 24);
             paint(s, g, lnf);
         }},

        editor("default colours", false, false, true),
        editor("outline colour set", true, false, true),
        editor("read-only", false, true, true),
        editor("disabled", false, false, false),

        menuBar(true),
        menuBar(false),
        cornerResizer(20),
        cornerResizer(40),

        titleBar("buttons-right", false, false),
        titleBar("buttons-left", true, false),
        titleBar("maximise-toggled", false, true),
        {"title-bar-framework-window", 440, 30,
         [](juce::Graphics& g, TemplateLookAndFeel& lnf)
         {
             juce::DocumentWindow other("A framework window", juce::Colour(0xFFDDDDDD),
                                        juce::DocumentWindow::closeButton, false);
             other.setLookAndFeel(&lnf);
             other.setTitleBarHeight(24);
             other.setSize(440, 30);
             other.paintEntireComponent(g, true);
             other.setLookAndFeel(nullptr);
         }},
    };

    for (auto type : {juce::DocumentWindow::closeButton, juce::DocumentWindow::minimiseButton,
                      juce::DocumentWindow::maximiseButton})
    {
        pictures.push_back(glassButton(type, "rest", false, false, true, false));
        pictures.push_back(glassButton(type, "over", true, false, true, false));
        pictures.push_back(glassButton(type, "down", true, true, true, false));
        pictures.push_back(glassButton(type, "disabled", false, false, false, false));
    }
    pictures.push_back(
        glassButton(juce::DocumentWindow::maximiseButton, "toggled", false, false, true, true));
    return pictures;
}

/** Puts a component alone in a window on the desktop and gives it the
    keyboard focus. */
class FocusedOnDesktop
{
public:
    explicit FocusedOnDesktop(juce::Component& c) : content(c)
    {
        holder.setSize(c.getWidth() + 20, c.getHeight() + 20);
        holder.addAndMakeVisible(c);
        holder.addToDesktop(0);
        holder.setVisible(true);
        holder.toFront(true);
        testsupport::runMessageLoopUntil([&] { return holder.isShowing(); }, 2000);
        c.setWantsKeyboardFocus(true);
        testsupport::runMessageLoopUntil(
            [&]
            {
                c.grabKeyboardFocus();
                return c.hasKeyboardFocus(true);
            },
            3000);
    }

    ~FocusedOnDesktop() { holder.removeChildComponent(&content); }

    bool hasFocus() const { return content.hasKeyboardFocus(true); }

private:
    juce::Component& content;
    juce::Component holder;
};

void expectFocusedPicture(const juce::String& name, juce::Component& c, TemplateLookAndFeel& lnf)
{
    c.setLookAndFeel(&lnf);
    FocusedOnDesktop desktop(c);
    ASSERT_TRUE(desktop.hasFocus()) << name
                                    << ": the display gives no keyboard focus, so the focused "
                                       "state cannot be drawn";
    EXPECT_TRUE(GoldenImage::matches("look/" + name, GoldenImage::snapshot(c)));
    c.setLookAndFeel(nullptr);
}
/** The look and feel as the app installs it: the default for every component. */
class DefaultLook
{
public:
    DefaultLook() { juce::LookAndFeel::setDefaultLookAndFeel(&lnf); }
    ~DefaultLook() { juce::LookAndFeel::setDefaultLookAndFeel(nullptr); }

    TemplateLookAndFeel lnf;
};
} // namespace

TEST(GoldenLook, EveryGalleryWidgetStateMatchesItsReference)
{
    ASSERT_TRUE(GoldenImage::fontsMatchTheReferences());
    DefaultLook look;
    auto& lnf = look.lnf;

    for (const auto& picture : galleryPictures())
    {
        SCOPED_TRACE(picture.name.toStdString());
        const auto image = GoldenImage::render(picture.width, picture.height,
                                               [&](juce::Graphics& g) { picture.draw(g, lnf); });
        EXPECT_TRUE(GoldenImage::matches("look/" + picture.name, image));
    }
}

// Keyboard focus raises a control's saturation, which only shows on a
// coloured control, and thickens the combo box's and editor's outlines.
TEST(GoldenLook, FocusedWidgetsMatchTheirReferences)
{
    ASSERT_TRUE(GoldenImage::fontsMatchTheReferences());
    DefaultLook look;
    auto& lnf = look.lnf;

    {
        juce::TextButton green("update");
        green.setColour(juce::TextButton::buttonColourId, juce::Colours::green);
        green.setSize(100, 30);
        expectFocusedPicture("text-button-green-focused", green, lnf);
    }
    {
        juce::ComboBox box;
        box.addItem("Midi Through Port-0", 1);
        box.setSelectedId(1, juce::dontSendNotification);
        box.setSize(200, 24);
        expectFocusedPicture("combo-box-focused", box, lnf);
    }
    {
        juce::TextEditor editor;
        editor.setLookAndFeel(&lnf); // the text keeps the colour it was typed in
        editor.setSize(210, 24);
        editor.setText("focused");
        editor.setCaretVisible(false); // it blinks
        expectFocusedPicture("text-editor-focused", editor, lnf);
    }
    {
        juce::Slider s(juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        s.setColour(juce::Slider::thumbColourId, juce::Colour(0xFF3273A1));
        s.setRange(0.0, 1.0);
        s.setValue(0.3);
        s.setSize(200, 30);
        expectFocusedPicture("slider-horizontal-focused", s, lnf);
    }
}
