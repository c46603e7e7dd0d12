#include "GoldenImage.h"

#include <juce_cryptography/juce_cryptography.h>

#include <algorithm>
#include <cstdlib>

namespace
{
int channelDifference(juce::PixelARGB p, juce::PixelARGB q)
{
    return std::max({std::abs(p.getAlpha() - q.getAlpha()), std::abs(p.getRed() - q.getRed()),
                     std::abs(p.getGreen() - q.getGreen()), std::abs(p.getBlue() - q.getBlue())});
}

bool writePng(const juce::Image& image, const juce::File& file)
{
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    return out.openedOk() && png.writeImageToStream(image, out);
}

juce::String describe(const juce::Rectangle<int>& r)
{
    return "x " + juce::String(r.getX()) + ".." + juce::String(r.getRight() - 1) + ", y " +
           juce::String(r.getY()) + ".." + juce::String(r.getBottom() - 1) + " (" +
           juce::String(r.getWidth()) + " x " + juce::String(r.getHeight()) + ")";
}

juce::String fontStyleName(int flags)
{
    return (flags & juce::Font::bold) != 0 ? "Bold" : "Regular";
}
} // namespace

bool GoldenImage::isBlessing()
{
    const auto* value = std::getenv("DAVIRODIR_BLESS");
    return value != nullptr && juce::String(value) == "1";
}

juce::File GoldenImage::referenceDirectory()
{
    return juce::File(DAVIRODIR_GOLDEN_DIR);
}

juce::File GoldenImage::failureDirectory()
{
    return juce::File(DAVIRODIR_GOLDEN_FAILURES);
}

::testing::AssertionResult GoldenImage::fontsMatchTheReferences()
{
    // A different font makes every picture differ; one message says why.
    const auto record = referenceDirectory().getChildFile("fonts.txt");
    juce::StringArray lines;
    record.readLines(lines);
    int checked = 0;

    for (const auto& line : lines)
    {
        if (line.trim().isEmpty() || line.trimStart().startsWithChar('#'))
            continue;

        juce::StringArray fields;
        fields.addTokens(line, "|", "");
        fields.trim();
        if (fields.size() != 4)
            return ::testing::AssertionFailure()
                   << record.getFullPathName() << ": malformed line \"" << line << "\"";

        const auto& typeface = fields[0];
        const auto& style = fields[1];
        const juce::File file(fields[2]);
        const auto& hash = fields[3];
        const int flags = style == "Bold" ? juce::Font::bold : juce::Font::plain;

        if (!file.existsAsFile())
            return ::testing::AssertionFailure()
                   << "the golden references were drawn with the font " << file.getFullPathName()
                   << ", which is not installed; install it with tools/bootstrap.sh (fonts-dejavu-core)";

        const juce::Font font(juce::Font::getDefaultSansSerifFontName(), 13.0f, flags);
        const auto chosen = font.getTypefacePtr()->getName();
        const auto chosenStyle = font.getTypefacePtr()->getStyle();
        if (chosen != typeface || chosenStyle != style)
            return ::testing::AssertionFailure()
                   << "JUCE draws the default sans-serif font (" << fontStyleName(flags) << ") with \""
                   << chosen << " " << chosenStyle << "\", the golden references with \"" << typeface << " "
                   << style << "\": another installed font takes precedence";

        juce::FileInputStream in(file);
        const auto actualHash = juce::SHA256(in).toHexString();
        if (actualHash != hash)
            return ::testing::AssertionFailure()
                   << "the font file " << file.getFullPathName()
                   << " differs from the one that drew the golden references; check the pictures and "
                      "update "
                   << record.getFullPathName() << " and the references (tools/bless-golden.sh)";
        ++checked;
    }

    if (checked == 0)
        return ::testing::AssertionFailure() << "no fonts recorded in " << record.getFullPathName();

    return ::testing::AssertionSuccess();
}

::testing::AssertionResult GoldenImage::matches(const juce::String& name, const juce::Image& picture)
{
    const auto referenceFile = referenceDirectory().getChildFile(name + ".png");

    if (isBlessing())
    {
        if (!writePng(picture, referenceFile))
            return ::testing::AssertionFailure() << "cannot write " << referenceFile.getFullPathName();
        return ::testing::AssertionSuccess() << "blessed " << referenceFile.getFullPathName();
    }

    const auto actualFile = failureDirectory().getChildFile(name + "-actual.png");
    const auto diffFile = failureDirectory().getChildFile(name + "-diff.png");
    actualFile.deleteFile();
    diffFile.deleteFile();

    const auto reference = juce::ImageFileFormat::loadFrom(referenceFile);
    if (!reference.isValid())
    {
        writePng(picture, actualFile);
        return ::testing::AssertionFailure() << name << ": no reference " << referenceFile.getFullPathName()
                                             << " (actual picture: " << actualFile.getFullPathName()
                                             << "; bless with tools/bless-golden.sh)";
    }

    if (reference.getBounds() != picture.getBounds())
    {
        writePng(picture, actualFile);
        return ::testing::AssertionFailure()
               << name << ": picture is " << picture.getWidth() << " x " << picture.getHeight()
               << ", reference " << reference.getWidth() << " x " << reference.getHeight()
               << " (actual picture: " << actualFile.getFullPathName() << ")";
    }

    juce::Image diff(juce::Image::ARGB, picture.getWidth(), picture.getHeight(), true);
    juce::Rectangle<int> box;
    int count = 0;
    int worst = 0;

    {
        const juce::Image::BitmapData a(picture, juce::Image::BitmapData::readOnly);
        const juce::Image::BitmapData b(reference, juce::Image::BitmapData::readOnly);

        for (int y = 0; y < picture.getHeight(); ++y)
            for (int x = 0; x < picture.getWidth(); ++x)
            {
                const auto p = a.getPixelColour(x, y);
                const auto q = b.getPixelColour(x, y);
                const auto d = channelDifference(p.getPixelARGB(), q.getPixelARGB());

                if (d > channelTolerance)
                {
                    const juce::Rectangle<int> pixel(x, y, 1, 1);
                    box = count == 0 ? pixel : box.getUnion(pixel);
                    ++count;
                    worst = std::max(worst, d);
                    diff.setPixelAt(x, y, juce::Colours::red);
                }
                else
                {
                    diff.setPixelAt(x, y, juce::Colours::white.overlaidWith(q.withMultipliedAlpha(0.3f)));
                }
            }
    }

    if (count == 0)
        return ::testing::AssertionSuccess();

    writePng(picture, actualFile);
    writePng(diff, diffFile);
    return ::testing::AssertionFailure()
           << name << ": " << count << " pixels differ from " << referenceFile.getFullPathName()
           << " by up to " << worst << " in a channel, within " << describe(box)
           << "\n  actual: " << actualFile.getFullPathName() << "\n  diff:   " << diffFile.getFullPathName();
}

juce::Image GoldenImage::render(int width, int height, const std::function<void(juce::Graphics&)>& draw)
{
    juce::Image image(juce::Image::ARGB, width, height, true);
    {
        juce::Graphics g(image);
        draw(g);
    }
    return image;
}

juce::Image GoldenImage::snapshot(juce::Component& component)
{
    return render(component.getWidth(), component.getHeight(),
                  [&](juce::Graphics& g) { component.paintEntireComponent(g, true); });
}
