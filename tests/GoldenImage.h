#pragma once

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** Compares rendered pictures with the reference PNGs committed under
    tests/golden/.

    Two pixels match when no premultiplied channel differs by more than
    channelTolerance, which absorbs anti-aliasing noise but not a changed
    colour, alpha or shape. A mismatch writes <name>-actual.png and
    <name>-diff.png (differing pixels red over a faded copy of the
    reference) to the build's golden-failures directory and names the box
    that holds every differing pixel.

    With DAVIRODIR_BLESS=1 in the environment the comparison rewrites the
    reference instead, and the font record beside the references with it
    (tools/bless-golden.sh). */
class GoldenImage
{
public:
    static constexpr int channelTolerance = 8;

    /** Passes when the typefaces recorded beside the references are the ones
        this machine draws with; otherwise fails with one message saying
        which font is missing or different. Golden tests check this first
        and stop when it fails. When blessing, records this machine's fonts. */
    static ::testing::AssertionResult fontsMatchTheReferences();

    /** Compares picture with tests/golden/<name>.png (or blesses it). */
    static ::testing::AssertionResult matches(const juce::String& name, const juce::Image& picture);

    /** A transparent ARGB picture of the given size with draw run into it. */
    static juce::Image render(int width, int height, const std::function<void(juce::Graphics&)>& draw);

    /** The component and its children as they paint themselves. */
    static juce::Image snapshot(juce::Component& component);

    static bool isBlessing();

private:
    static juce::File referenceDirectory();
    static juce::File failureDirectory();
};
