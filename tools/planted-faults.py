#!/usr/bin/env python3
"""Plants known faults one at a time and checks that the suite notices each.

    tools/planted-faults.py [--list] [NAME ...]

Works on a copy of the checkout (build-faults/ in the repository, left for
the next run), so the tree you work in is never touched. For each fault it
swaps one piece of text in one file, rebuilds, runs the tests that might
notice (the unit and GUI tests, or the end-to-end tests for faults only the
real executable shows), records which failed and puts the text back.

Exit status 0 when every fault made at least one test fail (but those marked
as invisible to any test), 1 when one got through, 2 when a fault no longer
applies (its text is gone: update the table).
"""

import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WORK = ROOT / "build-faults"
SRC = WORK / "src"
BUILD = SRC / "build"

UNIT = ["-L", "unit"]
E2E_BLANKS = ["-R", "AFilePathWithBlanksArrivesWholeThroughTheRealExecutable"]

TEMPLATE = "look/TemplateLookAndFeel.cpp"

# name, file, (text now, text planted) pairs, tests to run, and optionally why
# no test can see the fault (it is then reported, but does not fail the run).
FAULTS = [
    ("minimise and maximise colours swapped", TEMPLATE,
     [("juce::Colour(minimiseButtonColour)", "juce::Colour(@MAX@)"),
      ("juce::Colour(maximiseButtonColour)", "juce::Colour(minimiseButtonColour)"),
      ("juce::Colour(@MAX@)", "juce::Colour(maximiseButtonColour)")], UNIT),
    ("a plus drawn on the close button", TEMPLATE,
     [("shape.addLineSegment(juce::Line<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.35f);\n"
       "        shape.addLineSegment(juce::Line<float>(1.0f, 0.0f, 0.0f, 1.0f), 0.35f);",
       "shape.addLineSegment(juce::Line<float>(0.5f, 0.0f, 0.5f, 1.0f), 0.35f);\n"
       "        shape.addLineSegment(juce::Line<float>(0.0f, 0.5f, 1.0f, 0.5f), 0.35f);")], UNIT),
    ("window buttons not fading by their alpha", "windows/GlassWindowButton.cpp",
     [("paintGlassSphere(g, x, y, d, colour.withAlpha(alpha), 1.0f);",
       "paintGlassSphere(g, x, y, d, colour, 1.0f);")], UNIT),
    ("the progress bar's percentage text removed", TEMPLATE,
     [("if (textToShow.isNotEmpty())", "if (false && textToShow.isNotEmpty())")], UNIT),
    ("the title text's colour", TEMPLATE,
     [("background.contrasting(isActive ? 0.7f : 0.4f)", "background.contrasting(isActive ? 0.4f : 0.7f)")],
     UNIT),
    ("the title text's centring", TEMPLATE,
     [("std::max(titleSpaceX, (w - textW) / 2)", "titleSpaceX")], UNIT),
    ("the title text's font", TEMPLATE,
     [("const juce::Font font((float)h * 0.65f, juce::Font::bold);",
       "const juce::Font font((float)h * 0.65f, juce::Font::plain);")], UNIT),
    ("the horizontal scrollbar's gradient", TEMPLATE,
     [("p2 = {0.0f, (float)y + (float)height * 0.7f};", "p2 = {0.0f, (float)y + (float)height * 0.3f};")],
     UNIT),
    ("left and right scrollbar arrows swapped", TEMPLATE,
     [("    case 1:\n", "    case @3@:\n"), ("    case 3:\n", "    case 1:\n"),
      ("    case @3@:\n", "    case 3:\n")], UNIT),
    ("the combo drop-down's item drawing replaced", TEMPLATE,
     [("if (!isComboBoxPopup(options) || item.isSeparator || item.subMenu != nullptr)", "if (true)")], UNIT),
    ("focus saturation ignored (shared colour rule)", "look/GlassDrawing.cpp",
     [("withMultipliedSaturation(hasKeyboardFocus ? 1.3f : 0.9f)", "withMultipliedSaturation(0.9f)")], UNIT),
    # The tick box's accent is a grey: no saturation to change, no pixel to see.
    ("focus saturation ignored (tick box drawn unfocused)", TEMPLATE,
     [("makeBaseColour(colour, true, isMouseOverButton, isButtonDown)",
       "makeBaseColour(colour, false, isMouseOverButton, isButtonDown)")], UNIT, "invisible"),
    ("the vertical slider thumb", TEMPLATE,
     [("paintGlassSphere(g, (float)x + (float)width * 0.5f - r, sliderPos - r, 2.0f * r, colour, thickness);",
       "paintGlassSphere(g, (float)x + (float)width * 0.5f - r, sliderPos - r, 1.6f * r, colour, thickness);")],
     UNIT),
    ("the tick-box size", TEMPLATE,
     [("const auto boxSize = w * 0.7f;", "const auto boxSize = w * 0.6f;")], UNIT),
    ("the slider track alpha", TEMPLATE,
     [("const auto track = white.withAlpha(0.5f);", "const auto track = white.withAlpha(0.3f);")], UNIT),
    ("the menu-bar stroke", TEMPLATE,
     [("(float)height, 0.0f, colour, 0.4f, true, true,", "(float)height, 0.0f, colour, 1.0f, true, true,")],
     UNIT),
    ("panel: an interface notice mid-upload enables the update button", "app/ContentComp.cpp",
     [("        if (sending)\n            updateButton->setEnabled(false);\n", "")], UNIT),
    ("panel: a full bar does not give the interface back", "app/ContentComp.cpp",
     [("            updateButton->setEnabled(true);\n            interface->setEnabled(true);\n",
       "            updateButton->setEnabled(true);\n")], UNIT),
    ("main window: the title", "app/MainWindow.cpp",
     [("setName(composeWindowTitle(content->getFirmwareImage()));",
       "setName(composeWindowTitle(content->getFirmwareImage()) + \" \");")], UNIT),
    ("main window: the size limits", "app/MainWindow.cpp",
     [("setResizeLimits(650, 400, 650, 400);", "setResizeLimits(650, 400, 1300, 800);")], UNIT),
    ("main window: close quits before the thread is stopped", "app/MainWindow.cpp",
     [("    content->stopUpload(5000);\n    content->quitAfterClose();\n",
       "    content->quitAfterClose();\n    content->stopUpload(5000);\n")], UNIT),
    ("main window: close waits without a limit", "app/MainWindow.cpp",
     [("content->stopUpload(5000);", "content->stopUpload(-1);")], UNIT),
    ("main window: maximise goes full screen", "app/MainWindow.cpp",
     [("    // size and the button stays as drawn.\n",
       "    // size and the button stays as drawn.\n    DocumentWindow::maximiseButtonPressed();\n")], UNIT),
    ("help text: one line changed", "windows/ProductHelpText.cpp",
     [("\"3. Click the UPDATE button.\\n\"", "\"3. Click the update button.\\n\"")], UNIT),
    ("panel: STEP1 drawn in STEP2's place", "app/ContentComp.cpp",
     [("step1Label->setBounds(layout.step1Label);", "step1Label->setBounds(layout.step2Label);")], UNIT),
    ("panel: the STEP2 text", "app/ContentComp.cpp",
     [("juce::String(), \"STEP2\")", "juce::String(), \"STEP 2\")")], UNIT),
    ("the path with blanks: JUCE's quoted command line instead of the join", "app/Main.cpp",
     [("joinArguments(getCommandLineParameterArray())", "getCommandLineParameters()")], E2E_BLANKS),
    ("whole words: letters in the C locale only", "app/CommandLine.cpp",
     [("    static const locale_t unicode = newlocale(LC_CTYPE_MASK, \"C.UTF-8\", (locale_t)0);\n",
       "    return juce::CharacterFunctions::isLetterOrDigit(c);\n"
       "    static const locale_t unicode = newlocale(LC_CTYPE_MASK, \"C.UTF-8\", (locale_t)0);\n")], UNIT),
    ("ids wrap past 32 bits", "app/CommandLine.cpp",
     [("value = std::min(noSuchId + 1, value * 10 + (*p - '0'));", "value = value * 10 + (*p - '0');"),
      ("return (int)std::min(value, noSuchId);", "return (int)value;")], UNIT),
    ("progress bar: JUCE's polling timer back", "app/UploadProgressBar.h",
     [("void visibilityChanged() override {}",
       "void visibilityChanged() override { juce::ProgressBar::visibilityChanged(); }")], UNIT),
    ("progress bar: the panel never tells it of a new value", "app/ContentComp.cpp",
     [("        progress = protocol->getProgress();\n        progressBar->refresh();\n",
       "        progress = protocol->getProgress();\n")], UNIT),
]


def run(cmd, **kw):
    return subprocess.run(cmd, text=True, **kw)


def copy_tree():
    files = run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "-z"], cwd=ROOT,
                capture_output=True, check=True).stdout.split("\0")
    for name in filter(None, files):
        source, target = ROOT / name, SRC / name
        if not source.is_file():
            continue
        if target.exists() and target.read_bytes() == source.read_bytes():
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)


def build():
    if not (BUILD / "CMakeCache.txt").exists():
        run(["cmake", "-S", str(SRC), "-B", str(BUILD), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
            check=True, stdout=subprocess.DEVNULL)
    return run(["cmake", "--build", str(BUILD), "--target", "davirodir_tests", "davirodir_e2e_tests",
                "Davirodir"], capture_output=True).returncode == 0


def failing_tests(ctest_args, log_name):
    """Names of the tests that failed, or None when ctest ran none. The output
    is kept in build-faults/logs/."""
    result = run(["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", "ctest", "--test-dir", str(BUILD),
                  "-j2", "--timeout", "120", "--output-on-failure", *ctest_args], capture_output=True)
    out = result.stdout
    (WORK / "logs").mkdir(exist_ok=True)
    (WORK / "logs" / (re.sub(r"[^A-Za-z0-9]+", "-", log_name).strip("-") + ".txt")).write_text(out)
    if re.search(r"No tests were found", out):
        return None
    # A parameterised test's line goes on with "# GetParam() = ..." after its name.
    if "The following tests FAILED:" not in out:
        return []
    names = re.findall(r"^\s*\d+ - (\S+)", out.split("The following tests FAILED:")[-1], re.M)
    # The rows of a table test are named by their bytes: one name for them all.
    return list(dict.fromkeys(re.sub(r"/\d+-byte$", " (rows)", n) for n in names))


def plant(path, swaps):
    text = original = path.read_text()
    for old, new in swaps:
        if text.count(old) != 1:
            return None
        text = text.replace(old, new)
    path.write_text(text)
    return original


def main(argv):
    if "--list" in argv:
        for name, *_ in FAULTS:
            print(name)
        return 0
    chosen = [f for f in FAULTS if not argv or any(a in f[0] for a in argv)]
    os.environ.setdefault("CCACHE_BASEDIR", str(ROOT.parent))
    os.environ.setdefault("CCACHE_NOHASHDIR", "1")

    WORK.mkdir(exist_ok=True)
    copy_tree()
    if not build():
        print("the unchanged tree does not build", file=sys.stderr)
        return 2
    suites = sorted({tuple(f[3]) for f in chosen})
    for suite in suites:
        failed = failing_tests(list(suite), "unchanged " + " ".join(suite))
        if failed is None or failed:
            print(f"the unchanged tree fails {' '.join(suite)}: {failed}", file=sys.stderr)
            return 2

    results, status = [], 0
    for name, file, swaps, tests, *invisible in chosen:
        path = SRC / file
        original = plant(path, swaps)
        if original is None:
            results.append((name, "DOES NOT APPLY", ""))
            status = max(status, 2)
            continue
        try:
            if not build():
                verdict, by = "caught", "the build"
            else:
                failed = failing_tests(tests, name)
                if failed is None:
                    verdict, by = "NO TESTS RAN", ""
                    status = max(status, 2)
                elif failed:
                    verdict, by = "caught", ", ".join(failed[:4]) + (f" (+{len(failed) - 4})" if len(failed) > 4 else "")
                elif invisible:
                    verdict, by = "missed", "as expected: " + invisible[0]
                else:
                    verdict, by = "MISSED", ""
                    status = max(status, 1)
        finally:
            path.write_text(original)
        results.append((name, verdict, by))
        print(f"{verdict:8} {name}: {by}", flush=True)

    build()
    print()
    print("| fault | result | failing tests |")
    print("|---|---|---|")
    for name, verdict, by in results:
        print(f"| {name} | {verdict} | {by} |")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
