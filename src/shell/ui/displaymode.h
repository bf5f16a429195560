#pragma once

#include <QList>
#include <QSize>

// Switching the screen resolution: small screens are switched to 1024x768 at start-up and restored
// at exit. On X11 with xrandr this really switches; elsewhere NullDisplayMode does nothing.
class DisplayMode
{
public:
    virtual ~DisplayMode() = default;
    virtual QSize current() const = 0;
    // Returns false when the mode could not be set.
    virtual bool set(const QSize &size) = 0;
};

class NullDisplayMode final : public DisplayMode
{
public:
    QSize current() const override;
    bool set(const QSize &) override { return false; }
};

// xrandr on the primary output; current() is the primary screen's size.
class XrandrDisplayMode final : public DisplayMode
{
public:
    QSize current() const override;
    bool set(const QSize &size) override;
    // True when the platform is X11 and xrandr is installed.
    static bool available();
};

// A display whose size tests set, recording the sizes it was switched to.
class FakeDisplayMode final : public DisplayMode
{
public:
    explicit FakeDisplayMode(const QSize &size) : m_size(size) {}
    QSize current() const override { return m_size; }
    bool set(const QSize &size) override
    {
        m_switches.append(size);
        m_size = size;
        return true;
    }
    QList<QSize> switches() const { return m_switches; }

private:
    QSize m_size;
    QList<QSize> m_switches;
};
