// Renders every widget the updater's look and feel draws into one PNG, so the
// look can be checked by eye without running the application.
//
//   davirodir_gallery <output.png>
#include "look/TemplateLookAndFeel.h"
#include "look/TitleColourWindow.h"
#include "windows/GlassWindowButton.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>
#include <memory>

namespace
{
constexpr int imageWidth = 960;
constexpr int imageHeight = 850;

class Gallery
{
public:
    Gallery() : image(juce::Image::ARGB, imageWidth, imageHeight, true), g(image)
    {
        g.fillAll(juce::Colour(0xFFEFF2F3));
    }

    juce::Image render()
    {
        buttons(10, 10);
        tickBoxes(10, 130);
        combos(10, 220);
        progressBars(10, 400);
        scrollbars(480, 10);
        sliders(480, 200);
        editors(480, 420);
        menuBarAndResizer(480, 560);
        titleBars(10, 560);
        glassButtons(10, 770);
        return image;
    }

private:
    TemplateLookAndFeel lnf;
    juce::Image image;
    juce::Graphics g;

    void caption(int x, int y, const juce::String& text)
    {
        g.setColour(juce::Colours::black);
        g.setFont(13.0f);
        g.drawText(text, x, y, 460, 16, juce::Justification::centredLeft);
    }

    // Draws with the origin moved to (x, y), clipped to w x h.
    template <typename Fn> void at(int x, int y, int w, int h, Fn&& draw)
    {
        juce::Graphics::ScopedSaveState state(g);
        g.reduceClipRegion(x, y, w, h);
        g.setOrigin(x, y);
        draw();
    }

    void paintComponent(juce::Component& c, int x, int y)
    {
        c.setLookAndFeel(&lnf);
        at(x, y, c.getWidth(), c.getHeight(), [&] { c.paintEntireComponent(g, true); });
        c.setLookAndFeel(nullptr);
    }

    void buttons(int x, int y)
    {
        caption(x, y, "Text buttons: normal, mouse over, down, disabled, toggled; joined pair");
        const char* labels[] = {"normal", "over", "down", "disabled", "toggled"};

        for (int i = 0; i < 5; ++i)
        {
            juce::TextButton b(labels[i]);
            b.setLookAndFeel(&lnf);
            b.setSize(80, 26);
            b.setEnabled(i != 3);
            b.setToggleState(i == 4, juce::dontSendNotification);
            const auto colour =
                b.findColour(i == 4 ? juce::TextButton::buttonOnColourId : juce::TextButton::buttonColourId);
            at(x + i * 88, y + 22, 80, 26,
               [&]
               {
                   lnf.drawButtonBackground(g, b, colour, i == 1 || i == 2, i == 2);
                   lnf.drawButtonText(g, b, i == 1, i == 2);
               });
            b.setLookAndFeel(nullptr);
        }

        juce::TextButton left("joined"), right("right");
        left.setConnectedEdges(juce::Button::ConnectedOnRight);
        right.setConnectedEdges(juce::Button::ConnectedOnLeft);
        right.setColour(juce::TextButton::buttonColourId, juce::Colour(0xFF7FC97F));
        left.setSize(80, 26);
        right.setSize(80, 26);
        paintComponent(left, x, y + 60);
        paintComponent(right, x + 80, y + 60);

        juce::TextButton green("update");
        green.setColour(juce::TextButton::buttonColourId, juce::Colours::green);
        green.setSize(100, 30);
        paintComponent(green, x + 190, y + 58);
    }

    void tickBoxes(int x, int y)
    {
        caption(x, y, "Tick boxes: off, on, on under mouse, on down, off disabled, on disabled");
        juce::ToggleButton t("tick");
        t.setLookAndFeel(&lnf);

        for (int i = 0; i < 6; ++i)
        {
            const bool ticked = i != 0 && i != 4;
            const bool enabled = i < 4;
            at(x + i * 50, y + 22, 40, 40,
               [&] { lnf.drawTickBox(g, t, 4.0f, 4.0f, 32.0f, 32.0f, ticked, enabled, i == 2, i == 3); });
        }

        juce::ToggleButton real("A toggle button");
        real.setToggleState(true, juce::dontSendNotification);
        real.setSize(160, 24);
        paintComponent(real, x + 300, y + 30);
    }

    void combos(int x, int y)
    {
        caption(x, y, "Combo box: enabled, disabled, button colour set; its popup list; a popup menu");
        juce::ComboBox box;
        box.addItem("(Disconnected)", 1);
        box.addItem("Midi Through Port-0", 2);
        box.setSelectedId(2, juce::dontSendNotification);
        box.setSize(200, 24);
        paintComponent(box, x, y + 22);

        juce::ComboBox disabled;
        disabled.addItem("disabled", 1);
        disabled.setSelectedId(1, juce::dontSendNotification);
        disabled.setEnabled(false);
        disabled.setSize(200, 24);
        paintComponent(disabled, x, y + 52);

        juce::ComboBox coloured;
        coloured.addItem("button colour set", 1);
        coloured.setSelectedId(1, juce::dontSendNotification);
        coloured.setColour(juce::ComboBox::buttonColourId, juce::Colour(0xFFBBBBFF));
        coloured.setSize(200, 24);
        paintComponent(coloured, x, y + 82);

        const auto comboOptions = juce::PopupMenu::Options().withTargetComponent(&box);
        popup(x, y + 112, comboOptions, {"(Disconnected)", "Midi Through Port-0", "USB MIDI Interface"}, 1);
        popup(x + 230, y + 22, juce::PopupMenu::Options(), {"Open...", "Save", "Quit"}, 0);
    }

    void popup(int x, int y, const juce::PopupMenu::Options& options, const juce::StringArray& items,
               int highlighted)
    {
        const int rowH = 22;
        const int w = 200;
        const int h = rowH * items.size() + 4;

        at(x, y, w, h,
           [&]
           {
               lnf.drawPopupMenuBackgroundWithOptions(g, w, h, options);
               for (int i = 0; i < items.size(); ++i)
               {
                   juce::PopupMenu::Item item(items[i]);
                   item.itemID = i + 1;
                   item.isTicked = i == 1;
                   lnf.drawPopupMenuItemWithOptions(g, {2, 2 + i * rowH, w - 4, rowH}, i == highlighted, item,
                                                    options);
               }
           });
    }

    void progressBars(int x, int y)
    {
        caption(x, y, "Progress bar at 0, 0.5 and 1");
        double value = 0.0;
        juce::ProgressBar bar(value);
        bar.setLookAndFeel(&lnf);
        bar.setSize(300, 20);
        const double values[] = {0.0, 0.5, 1.0};

        for (int i = 0; i < 3; ++i)
            at(x, y + 22 + i * 28, 300, 20,
               [&] {
                   lnf.drawProgressBar(g, bar, 300, 20, values[i],
                                       juce::String((int)(values[i] * 100)) + "%");
               });
    }

    void scrollbars(int x, int y)
    {
        caption(x, y, "Scrollbars 15 and 16 wide, no thumb; buttons up/right/down/left, pressed");
        juce::ScrollBar vertical(true), horizontal(false);
        vertical.setLookAndFeel(&lnf);
        horizontal.setLookAndFeel(&lnf);
        const int widths[] = {15, 16};

        for (int i = 0; i < 2; ++i)
        {
            const int w = widths[i];
            at(x + i * 30, y + 22, w, 150,
               [&] { lnf.drawScrollbar(g, vertical, 0, 0, w, 150, true, 30, 50, false, false); });
        }

        at(x + 60, y + 22, 16, 150,
           [&] { lnf.drawScrollbar(g, vertical, 0, 0, 16, 150, true, 0, 0, false, false); });

        at(x + 90, y + 22, 200, 16,
           [&] { lnf.drawScrollbar(g, horizontal, 0, 0, 200, 16, false, 60, 70, false, false); });

        for (int dir = 0; dir < 4; ++dir)
            for (int down = 0; down < 2; ++down)
                at(x + 90 + dir * 44 + down * 20, y + 50, 16, 16,
                   [&] { lnf.drawScrollbarButton(g, vertical, 16, 16, dir, true, false, down == 1); });
    }

    void sliders(int x, int y)
    {
        caption(x, y, "Sliders: horizontal, vertical, bar; disabled horizontal");
        juce::Slider horizontal(juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        horizontal.setRange(0.0, 1.0);
        horizontal.setValue(0.3);
        horizontal.setSize(200, 30);
        paintComponent(horizontal, x, y + 22);

        juce::Slider disabled(juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        disabled.setRange(0.0, 1.0);
        disabled.setValue(0.7);
        disabled.setEnabled(false);
        disabled.setSize(200, 30);
        paintComponent(disabled, x, y + 56);

        juce::Slider bar(juce::Slider::LinearBar, juce::Slider::NoTextBox);
        bar.setRange(0.0, 1.0);
        bar.setValue(0.6);
        bar.setSize(200, 24);
        paintComponent(bar, x, y + 92);

        juce::Slider vertical(juce::Slider::LinearVertical, juce::Slider::NoTextBox);
        vertical.setRange(0.0, 1.0);
        vertical.setValue(0.4);
        vertical.setSize(30, 180);
        paintComponent(vertical, x + 230, y + 22);

        juce::Slider withButtons(juce::Slider::IncDecButtons, juce::Slider::TextBoxLeft);
        withButtons.setTextBoxStyle(juce::Slider::TextBoxLeft, false, 60, 24);
        withButtons.setRange(0.0, 10.0, 1.0);
        withButtons.setValue(3.0);
        withButtons.setSize(160, 24);
        paintComponent(withButtons, x, y + 126);
    }

    void editors(int x, int y)
    {
        caption(x, y, "Text editors: default colours, outline colour set, read-only, disabled");
        const char* texts[] = {"default colours", "outline colour set", "read-only", "disabled"};

        for (int i = 0; i < 4; ++i)
        {
            juce::TextEditor editor;
            editor.setLookAndFeel(&lnf);
            editor.setSize(210, 24);
            editor.setText(texts[i]);
            editor.setReadOnly(i == 2);
            editor.setEnabled(i != 3);
            if (i == 1)
                editor.setColour(juce::TextEditor::outlineColourId, juce::Colour(0xFF808080));
            editor.setSize(210, 24);
            paintComponent(editor, x + (i % 2) * 230, y + 22 + (i / 2) * 34);
        }
    }

    void menuBarAndResizer(int x, int y)
    {
        caption(x, y, "Menu bar enabled and disabled; corner resizer 20 and 40");
        juce::MenuBarComponent bar;
        bar.setLookAndFeel(&lnf);
        at(x, y + 22, 200, 24, [&] { lnf.drawMenuBarBackground(g, 200, 24, false, bar); });
        bar.setEnabled(false);
        at(x, y + 52, 200, 24, [&] { lnf.drawMenuBarBackground(g, 200, 24, false, bar); });

        at(x + 230, y + 22, 20, 20, [&] { lnf.drawCornerResizer(g, 20, 20, false, false); });
        at(x + 270, y + 22, 40, 40, [&] { lnf.drawCornerResizer(g, 40, 40, false, false); });
    }

    void titleBars(int x, int y)
    {
        caption(x, y, "Title bars (inactive): buttons right, left, full-screen symbol; a framework window");
        TitleColourWindow window("Davirodir - Zodeduri firmware 1.2 rev 3", juce::Colour(0xFFEFF2F3),
                                 juce::Colour(0xFF3273A1), juce::DocumentWindow::allButtons, false);
        window.setLookAndFeel(&lnf);
        window.setUsingNativeTitleBar(false);
        window.setTitleBarHeight(24);
        window.setSize(440, 40);
        paintComponent(window, x, y + 22);
        window.setLookAndFeel(&lnf);

        window.setTitleBarButtonsRequired(juce::DocumentWindow::allButtons, true);
        window.setName("Buttons on the left");
        paintComponent(window, x, y + 70);

        window.setLookAndFeel(&lnf);
        window.setTitleBarButtonsRequired(juce::DocumentWindow::allButtons, false);
        if (auto* maximise = window.getMaximiseButton())
            maximise->setToggleState(true, juce::dontSendNotification);
        window.setName("Maximise button toggled");
        paintComponent(window, x, y + 118);

        juce::DocumentWindow other("A framework window", juce::Colour(0xFFDDDDDD),
                                   juce::DocumentWindow::closeButton, false);
        other.setLookAndFeel(&lnf);
        other.setTitleBarHeight(24);
        other.setSize(440, 30);
        paintComponent(other, x, y + 166);
    }

    void glassButtons(int x, int y)
    {
        caption(x, y, "Glass window buttons: at rest, mouse over, down, disabled; maximise toggled");
        const int types[] = {juce::DocumentWindow::closeButton, juce::DocumentWindow::minimiseButton,
                             juce::DocumentWindow::maximiseButton};
        auto make = [&](int type)
        {
            return std::unique_ptr<GlassWindowButton>(
                dynamic_cast<GlassWindowButton*>(lnf.createDocumentWindowButton(type)));
        };
        int bx = x;

        for (int state = 0; state < 4; ++state)
        {
            for (auto type : types)
            {
                auto b = make(type);
                b->setSize(34, 40);
                b->setEnabled(state != 3);
                at(bx, y + 22, 34, 40, [&] { b->paintButton(g, state == 1 || state == 2, state == 2); });
                bx += 36;
            }
            bx += 10;
        }

        auto maximise = make(juce::DocumentWindow::maximiseButton);
        maximise->setSize(34, 40);
        maximise->setToggleState(true, juce::dontSendNotification);
        at(bx, y + 22, 34, 40, [&] { maximise->paintButton(g, false, false); });
    }
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: davirodir_gallery <output.png>\n";
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juceInit;
    const auto picture = Gallery().render();

    const juce::File out = juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]);
    out.deleteFile();
    juce::FileOutputStream stream(out);
    juce::PNGImageFormat png;

    if (!stream.openedOk() || !png.writeImageToStream(picture, stream))
    {
        std::cerr << "cannot write " << out.getFullPathName() << "\n";
        return 1;
    }

    return 0;
}
