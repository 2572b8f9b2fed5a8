#pragma once

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace juce::detail
{
// JUCE's own message dispatch on Linux (what its dispatch loops run); the
// tests run on the message thread and use it to let queued events through.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce::detail

/** Drives windows the way the system does: events go into the window's
    ComponentPeer, the pointer is moved on the X server, and queued messages
    (timers, async drops, repaints) run through JUCE's dispatch. */
namespace gui
{
/** Runs queued messages until done() holds or the wait runs out; returns done(). */
inline bool pumpUntil (const std::function<bool()>& done, int maxWaitMs = 5000)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) maxWaitMs;
    while (! done())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        if (! juce::detail::dispatchNextMessageOnSystemQueue (true))
            juce::Thread::sleep (1);
    }
    return true;
}

/** Runs queued messages for a while. */
inline void pumpFor (int ms)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) ms;
    pumpUntil ([end] { return juce::Time::getMillisecondCounter() > end; }, ms + 1000);
}

/** Puts a component on the desktop as a borderless window at a screen position. */
inline void showWindow (juce::Component& c, juce::Point<int> topLeft = { 20, 20 })
{
    c.setTopLeftPosition (topLeft);
    c.addToDesktop (0);
    c.setVisible (true);
    pumpFor (50);
}

/** Event times: a second apart, so that two clicks never make a double-click
    unless asked for. */
inline juce::int64 nextEventTime (juce::int64 step = 1000)
{
    static juce::int64 time = juce::Time::currentTimeMillis();
    time += step;
    return time;
}

inline juce::ComponentPeer& peerOf (juce::Component& c)
{
    auto* peer = c.getPeer();
    if (peer == nullptr)
        throw std::runtime_error ("component is not on screen");
    return *peer;
}

inline void mouseEvent (juce::Component& target, juce::Point<int> local, juce::ModifierKeys mods, juce::int64 time)
{
    auto& peer = peerOf (target);
    const auto inPeer = peer.getComponent().getLocalPoint (&target, local).toFloat();
    peer.handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, inPeer, mods,
                           juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation, time);
}

/** A press and release at a point of target, with extra modifiers (shift,
    or the right button instead of the left). */
inline void click (juce::Component& target, juce::Point<int> local, juce::ModifierKeys extra = {},
                   bool rightButton = false)
{
    const auto button = rightButton ? juce::ModifierKeys::rightButtonModifier : juce::ModifierKeys::leftButtonModifier;
    const auto time = nextEventTime();
    mouseEvent (target, local, extra, time);
    mouseEvent (target, local, extra.withFlags (button), time + 1);
    mouseEvent (target, local, extra, time + 2);
}

inline void clickCentre (juce::Component& target, juce::ModifierKeys extra = {})
{
    click (target, target.getLocalBounds().getCentre(), extra);
}

/** Two clicks close together at one point: a double-click. */
inline void doubleClick (juce::Component& target, juce::Point<int> local)
{
    const auto time = nextEventTime();
    const auto left = juce::ModifierKeys::leftButtonModifier;
    mouseEvent (target, local, {}, time);
    mouseEvent (target, local, juce::ModifierKeys (left), time + 10);
    mouseEvent (target, local, {}, time + 20);
    mouseEvent (target, local, juce::ModifierKeys (left), time + 60);
    mouseEvent (target, local, {}, time + 70);
}

/** A key as the window receives it; true when some component used it. */
inline bool pressKey (juce::Component& window, const juce::KeyPress& key)
{
    return peerOf (window).handleKeyPress (key);
}

/** Files dropped from the system onto a point of target, delivered as the
    peer delivers them (asynchronously); waits until delivered. */
inline void dropFiles (juce::Component& target, juce::Point<int> local, const juce::StringArray& paths)
{
    auto& peer = peerOf (target);
    juce::ComponentPeer::DragInfo info;
    info.files = paths;
    info.position = peer.getComponent().getLocalPoint (&target, local);
    peer.handleDragMove (info);
    if (peer.handleDragDrop (info))
    {
        // The drop arrives through the message queue; a short pump delivers it.
        pumpFor (60);
    }
}

/** Moves the system's mouse pointer onto a point of a component. */
inline void movePointerTo (juce::Component& target, juce::Point<int> local)
{
    juce::Desktop::setMousePosition (target.localPointToGlobal (local));
}

/** The component painted once, at its size. */
inline juce::Image paintOnce (juce::Component& c)
{
    return c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f);
}

inline juce::uint32 argbAt (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getARGB();
}

/** Colours equal to within one step per channel: images store translucent
    pixels premultiplied, so reading one back may round a channel by one. */
inline ::testing::AssertionResult nearlySameColour (juce::uint32 actual, juce::uint32 expected)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        const auto a = (int) ((actual >> shift) & 0xFF);
        const auto e = (int) ((expected >> shift) & 0xFF);
        if (std::abs (a - e) > 1)
            return ::testing::AssertionFailure() << juce::String::toHexString ((int) actual) << " is not "
                                                 << juce::String::toHexString ((int) expected);
    }
    return ::testing::AssertionSuccess();
}
} // namespace gui
