#include "LaneComponent.h"

#include "theme/ThemeFont.h"
#include "theme/ThemePalette.h"

namespace
{
constexpr double noLoudness = -120.0;
constexpr int clearAreaWidth = 40;
constexpr int selectorFlashPaints = 8;
constexpr float designWidth = 1478.0f;
constexpr float letterHeight = 36.0f;
} // namespace

const juce::String LaneComponent::dialogTitle { "Select audio files" };
const juce::String LaneComponent::dialogPatterns { "*.wav;*.aif;*.aiff;*.flac;*.mp3" };

LaneComponent::LaneComponent (int rowIndex) : row (rowIndex) {}

LaneComponent::~LaneComponent() = default;

bool LaneComponent::hasAudioExtension (const juce::String& path)
{
    for (auto* extension : { ".wav", ".aif", ".aiff", ".flac", ".mp3" })
        if (path.endsWithIgnoreCase (extension))
            return true;
    return false;
}

float LaneComponent::designScale() const
{
    if (auto* parent = getParentComponent(); parent != nullptr && parent->getWidth() != 0)
        return (float) parent->getWidth() / designWidth;
    return 1.0f;
}

juce::Rectangle<int> LaneComponent::getSelectorBox() const
{
    const auto w = getWidth();
    const auto h = getHeight();
    const auto d = juce::jmin (w, boxSize);
    return { d / 2 - boxSize / 2, h / 2 - h / 4, boxSize, h / 2 };
}

juce::Rectangle<int> LaneComponent::getLetterArea() const
{
    const auto w = getWidth();
    const auto d = juce::jmin (w, boxSize);
    return { d + letterWidth / 4, 0, juce::jmax (0, juce::jmin (letterWidth, w - d) - letterWidth / 4), getHeight() };
}

juce::Rectangle<float> LaneComponent::getTrackBox() const
{
    return { (float) selectorWidth, 0.0f, (float) juce::jmax (0, getWidth() - selectorWidth), (float) getHeight() };
}

void LaneComponent::resized()
{
    clearArea = { getWidth() - clearAreaWidth, 0, clearAreaWidth, getHeight() };
}

//==============================================================================
void LaneComponent::paint (juce::Graphics& g)
{
    const auto& p = *qelCurrentTheme;
    paintSelector (g);
    paintLetter (g);

    const auto box = getTrackBox();
    g.setColour (p[9]);
    g.fillRect (box);
    g.setColour (p[10]);
    g.drawRect (box, 1.0f);

    if (loaded && blind && hideWaveform)
        g.fillRect (box);

    if (paintWaveform (g, box))
        return;

    paintName (g, box);
    if (loaded && ! blind)
        paintClearAndLoudness (g, box);
}

void LaneComponent::paintSelector (juce::Graphics& g)
{
    const auto selector = getSelectorBox();
    if (flashTicks > 0)
    {
        --flashTicks;
        g.setColour (qelFlashGrey);
        g.fillRect (selector);
    }
    else if (selected)
    {
        g.setColour ((*qelCurrentTheme)[14]);
        g.fillRect (selector);
    }
    else if (qelIsDarkTheme())
    {
        g.setColour (qelDark[13]);
        g.fillRect (selector);
    }
    else
    {
        g.setColour ((*qelCurrentTheme)[10]);
        g.drawRect (selector, 1);
    }
}

void LaneComponent::paintLetter (juce::Graphics& g)
{
    g.setColour ((*qelCurrentTheme)[1]);
    g.setFont (juce::Font (qelThemeFont (letterHeight * designScale())));
    g.drawText (letter, getLetterArea(), juce::Justification::centred, false);
}

bool LaneComponent::paintWaveform (juce::Graphics& g, juce::Rectangle<float> box)
{
    if (! loaded || ! blind || hideWaveform || peaks == nullptr || peaks->empty() || timelineLength <= 0
        || trackLength <= 0)
        return false;

    const auto& values = *peaks;
    const auto half = juce::jmax (0.0f, box.getHeight() - 12.0f) * 0.5f;
    const auto centre = 6.0f + half;
    const auto n = (juce::int64) values.size();
    const auto columns = juce::jmax (1, (int) box.getWidth());

    g.setColour ((*qelCurrentTheme)[1].withAlpha ((juce::uint8) 0x8C));
    for (int x = 0; x < columns; ++x)
    {
        const auto position = timelineLength * x / columns;
        if (position < 0 || position >= trackLength)
            continue;
        const auto index = juce::jlimit ((juce::int64) 0, n - 1, position * n / trackLength);
        const auto v = juce::jmin (values[(size_t) index] * displayGain * half, half);
        const auto top = centre - v;
        const auto bottom = centre + v;
        if (bottom > top)
            g.fillRect (juce::Rectangle<float> ((float) (int) (box.getX() + (float) x), top, 1.0f, bottom - top));
    }
    return true;
}

void LaneComponent::paintName (juce::Graphics& g, juce::Rectangle<float> box)
{
    const auto text = ! loaded ? juce::String ("+") : (blind ? juce::String() : fileName);
    const auto reserved = loudness > noLoudness ? 160 : 40;
    g.setColour ((*qelCurrentTheme)[1]);
    g.setFont (juce::Font (qelThemeFont (18.0f)));
    g.drawText (text,
                juce::Rectangle<int> (juce::roundToInt (box.getX()) + 10, 0,
                                      juce::jmax (0, juce::roundToInt (box.getWidth()) - 20 - reserved),
                                      juce::roundToInt (box.getHeight())),
                juce::Justification::centredLeft, true);
}

void LaneComponent::paintClearAndLoudness (juce::Graphics& g, juce::Rectangle<float> box)
{
    const auto s = designScale();
    const auto x = juce::roundToInt (box.getX());
    const auto w = juce::roundToInt (box.getWidth());
    const auto h = juce::roundToInt (box.getHeight());

    g.setColour ((*qelCurrentTheme)[1]);
    g.setFont (juce::Font (qelThemeFont (16.0f)));
    g.drawText ("x", juce::Rectangle<int> (x, 0, juce::jmax (0, w - juce::roundToInt (14.0f * s)), h),
                juce::Justification::centredRight, false);

    if (loudness > noLoudness)
    {
        g.setFont (juce::Font (qelThemeFont (18.0f)));
        g.drawText (juce::String (loudness, 2) + " LUFS",
                    juce::Rectangle<int> (x, 0, juce::jmax (0, w - juce::roundToInt (48.0f * s)), h),
                    juce::Justification::centredRight, false);
    }
}

//==============================================================================
void LaneComponent::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu())
        return;

    const auto position = e.getPosition();
    if (loaded && ! blind && clearArea.contains (position))
    {
        if (onClear)
            onClear (row);
        return;
    }

    if (loaded)
    {
        if (onSelect)
            onSelect (row);
        return;
    }

    if (position.x < selectorWidth)
    {
        flashTicks = selectorFlashPaints;
        repaint();
        return;
    }

    openFileDialog();
}

void LaneComponent::openFileDialog()
{
    chooser = std::make_unique<juce::FileChooser> (dialogTitle, juce::File(), dialogPatterns);
    const auto dialogFlags = juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles
                       | juce::FileBrowserComponent::canSelectMultipleItems;
    chooser->launchAsync (dialogFlags, [safeThis = juce::Component::SafePointer<LaneComponent> (this)] (
                                     const juce::FileChooser& dialog) {
        if (safeThis != nullptr)
            safeThis->handleDialogResults (dialog.getResults());
    });
}

void LaneComponent::handleDialogResults (const juce::Array<juce::File>& results)
{
    if (results.size() == 1)
    {
        const auto& file = results.getReference (0);
        if (file.existsAsFile() && onFileChosen)
            onFileChosen (row, file);
    }
    else if (results.size() >= 2 && onFilesChosen)
    {
        onFilesChosen (results);
    }
}

//==============================================================================
bool LaneComponent::isInterestedInFileDrag (const juce::StringArray& files)
{
    for (const auto& path : files)
        if (hasAudioExtension (path))
            return true;
    return false;
}

void LaneComponent::filesDropped (const juce::StringArray& files, int, int)
{
    juce::Array<juce::File> kept;
    for (const auto& path : files)
    {
        // Drops always carry absolute paths; anything else names no file.
        if (! juce::File::isAbsolutePath (path))
            continue;
        const juce::File file (path);
        if (file.existsAsFile() && isInterestedInFileDrag (juce::StringArray (path)))
            kept.add (file);
    }

    if (kept.size() == 1)
    {
        if (onFileChosen)
            onFileChosen (row, kept.getReference (0));
    }
    else if (kept.size() >= 2 && onFilesChosen)
    {
        onFilesChosen (kept);
    }
}
