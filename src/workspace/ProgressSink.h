// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

/** The main window's message line, progress bar and pointer, as long operations drive them. */
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    /** Sets the message line and repaints it at once. */
    virtual void setMessage(const QString& text) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    virtual void setProgressMaximum(int maximum) = 0;
    /**
     * Sets the bar's position. A window may hold back positions given in quick succession,
     * though never the last one before any other call nor the maximum.
     */
    virtual void setProgressValue(int value) = 0;
    /** Shows the hourglass (true) or the normal pointer (false). */
    virtual void setBusy(bool busy) = 0;
};

/** Shows nothing: for front ends without a window. */
class NoProgress : public ProgressSink {
public:
    void setMessage(const QString&) override {}
    void setProgressVisible(bool) override {}
    void setProgressMaximum(int) override {}
    void setProgressValue(int) override {}
    void setBusy(bool) override {}
};

/** Shows the hourglass for its lifetime: the normal pointer returns at every exit. */
class BusyCursor {
public:
    explicit BusyCursor(ProgressSink& sink)
        : m_sink(sink)
    {
        m_sink.setBusy(true);
    }
    ~BusyCursor() { m_sink.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    ProgressSink& m_sink;
};
