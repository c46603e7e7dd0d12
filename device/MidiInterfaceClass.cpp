#include "device/MidiInterfaceClass.h"

namespace
{
const juce::String disconnectedText("(Disconnected)");
}

MidiInterfaceClass::MidiInterfaceClass(bool withOutput, bool withInput, MidiPortLayer& layer)
    : portLayer(layer), hasOutput(withOutput), hasInput(withInput)
{
    createSelectors();
    if (hasOutput)
        startTimer(500);
}

MidiInterfaceClass::~MidiInterfaceClass()
{
    stopTimer();
    deleteAllChildren();
    outputSelector = inputSelector = nullptr;
    outputLabel = inputLabel = nullptr;
    closeInput();
    closeOutput();
}

void MidiInterfaceClass::createSelectors()
{
    if (hasOutput)
    {
        outputNames = portLayer.getOutputNames();
        numOutputs = outputNames.size();
        createSelector(outputSelector, outputLabel, "Output Selector",
                       "Select an output device:", outputNames);
    }
    if (hasInput)
    {
        inputNames = portLayer.getInputNames();
        numInputs = inputNames.size();
        createSelector(inputSelector, inputLabel, "Input Selector", "Select an input device:", inputNames);
    }
}

void MidiInterfaceClass::createSelector(juce::ComboBox*& selector, juce::Label*& label,
                                        const juce::String& selectorName, const juce::String& caption,
                                        const juce::StringArray& names)
{
    selector = new juce::ComboBox(selectorName);
    addAndMakeVisible(selector);
    label = new juce::Label({}, caption);
    label->attachToComponent(selector, false);

    fillSelector(*selector, names);
    selector->setSelectedId(names.size() + 1, juce::sendNotificationAsync);
    selector->addListener(this);
}

void MidiInterfaceClass::fillSelector(juce::ComboBox& selector, const juce::StringArray& names)
{
    selector.clear(juce::dontSendNotification);
    selector.addItem(disconnectedText, names.size() + 1);
    // A separator with nothing below it would still be drawn.
    if (!names.isEmpty())
        selector.addSeparator();
    for (int i = 0; i < names.size(); ++i)
        selector.addItem(names[i], i + 1);
}

void MidiInterfaceClass::timerCallback()
{
    // During an upload the list stays as it is; a port that goes then fails the send.
    if (isEnabled())
        followOutputs();
}

void MidiInterfaceClass::followOutputs()
{
    auto names = portLayer.getOutputNames();
    if (names == outputNames)
        return;

    const int selectedId = outputSelector->getSelectedId();
    const auto selectedName =
        selectedId >= 1 && selectedId <= numOutputs ? outputNames[selectedId - 1] : juce::String();
    outputNames = std::move(names);
    numOutputs = outputNames.size();
    fillSelector(*outputSelector, outputNames);

    const int index = selectedName.isEmpty() ? -1 : outputNames.indexOf(selectedName);
    outputSelector->setSelectedId(index >= 0 ? index + 1 : numOutputs + 1, juce::dontSendNotification);
    if (index < 0 && selectedName.isNotEmpty())
        closeOutput();
    sendChangeMessage();
}

void MidiInterfaceClass::resized()
{
    const int width = getWidth();
    if (outputSelector != nullptr)
        outputSelector->setBounds(0, 20, width, 30);
    if (inputSelector != nullptr)
        inputSelector->setBounds(0, outputSelector != nullptr ? 70 : 20, width, 30);
}

std::int32_t MidiInterfaceClass::getPreferredHeight()
{
    return hasOutput && hasInput ? 100 : 50;
}

bool MidiInterfaceClass::isConnected()
{
    if (hasOutput && hasInput)
        return midiOutput != nullptr && midiInput != nullptr;
    if (hasOutput)
        return midiOutput != nullptr;
    if (hasInput)
        return midiInput != nullptr;
    return false;
}

void MidiInterfaceClass::openOutput(int id)
{
    closeOutput();
    if (id < 1 || id > numOutputs)
        return;
    auto opened = portLayer.openOutput(id - 1);
    const std::lock_guard<std::mutex> lock(sendMutex);
    midiOutput = opened.release();
}

void MidiInterfaceClass::closeOutput()
{
    if (midiOutput == nullptr)
        return;
    // A stalled send would otherwise hold the lock for ever.
    midiOutput->cancelStalledSend();
    const std::lock_guard<std::mutex> lock(sendMutex);
    delete midiOutput;
    midiOutput = nullptr;
}

void MidiInterfaceClass::openInput(int id)
{
    closeInput();
    if (id < 1 || id > numInputs)
        return;
    midiInput = portLayer.openInput(id - 1, this).release();
    if (midiInput != nullptr)
    {
        midiInput->start();
        inputOpen = true;
    }
}

void MidiInterfaceClass::closeInput()
{
    if (midiInput == nullptr)
        return;
    inputOpen = false;
    midiInput->stop();
    delete midiInput;
    midiInput = nullptr;
}

void MidiInterfaceClass::closePorts()
{
    closeInput();
    closeOutput();
}

void MidiInterfaceClass::comboBoxChanged(juce::ComboBox* box)
{
    if (box == nullptr)
        return;
    if (box == outputSelector)
    {
        const int id = box->getSelectedId();
        if (id <= numOutputs)
        {
            openOutput(id);
            sendChangeMessage();
        }
        else if (id == numOutputs + 1)
        {
            closeOutput();
            sendChangeMessage();
        }
    }
    else if (box == inputSelector)
    {
        const int id = box->getSelectedId();
        if (id <= numInputs)
        {
            openInput(id);
            sendChangeMessage();
        }
        else if (id == numInputs + 1)
        {
            closeInput();
            sendChangeMessage();
        }
    }
}

void MidiInterfaceClass::selectOutputById(std::int32_t id)
{
    if (!hasOutput)
        return;
    // JUCE would blank the selector for an id it does not hold.
    if (id >= 1 && id <= numOutputs + 1)
        outputSelector->setSelectedId(id, juce::sendNotificationAsync);
    sendChangeMessage();
    openOutput(id);
}

void MidiInterfaceClass::selectInputById(std::int32_t id)
{
    if (!hasInput)
        return;
    if (id >= 1 && id <= numInputs + 1)
        inputSelector->setSelectedId(id, juce::sendNotificationAsync);
    sendChangeMessage();
    openInput(id);
}

std::int32_t MidiInterfaceClass::sendBytes(const std::uint8_t* data, std::int32_t count)
{
    if (data == nullptr || count <= 0)
        return 0;
    const std::lock_guard<std::mutex> lock(sendMutex);
    if (midiOutput == nullptr || !midiOutput->send(data, count))
        return sendFailed;
    return 0;
}

void MidiInterfaceClass::handleIncomingMidiMessage(juce::MidiInput*, const juce::MidiMessage& message)
{
    const auto* bytes = message.getRawData();
    const int size = message.getRawDataSize();
    auto writePos = receiveWritePos.load(std::memory_order_relaxed);
    for (int i = 0; i < size; ++i)
    {
        receiveBuffer[static_cast<std::size_t>(writePos)].store(bytes[i], std::memory_order_relaxed);
        writePos = (writePos + 1) % receiveBufferSize;
        // Published byte by byte, so a reader never sees a position ahead of its byte.
        receiveWritePos.store(writePos, std::memory_order_release);
    }
}

std::int32_t MidiInterfaceClass::readBytes(std::uint8_t* destination, std::uint32_t maxCount)
{
    if (!inputOpen || destination == nullptr)
        return 0;
    auto readPos = receiveReadPos.load(std::memory_order_relaxed);
    std::uint32_t copied = 0;
    while (copied < maxCount)
    {
        if (readPos == receiveWritePos.load(std::memory_order_acquire))
            break;
        destination[copied++] =
            receiveBuffer[static_cast<std::size_t>(readPos)].load(std::memory_order_relaxed);
        readPos = (readPos + 1) % receiveBufferSize;
    }
    receiveReadPos.store(readPos, std::memory_order_release);
    return static_cast<std::int32_t>(copied);
}
