#pragma once
// The one base of every per-character window (new-character steps, skill
// development, character sheet, background options): the window carries its
// character's number as the text of its Tag, and the main window fills it and
// sets the toolbar for it without knowing its type.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

class MainFrame;

class CharacterWindow : public QWidget {
    Q_OBJECT
public:
    explicit CharacterWindow(const QString &name, QWidget *parent = nullptr);

    // The Tag: the caption's string number while the layout is localised, then
    // the character number as decimal text (empty when there is none).
    QString Tag() const;
    void setTag(const QString &value);
    // The character number in the Tag; 0 when the Tag holds no number.
    int Number() const;

    // Fills the window for the character in its Tag.
    virtual void LoadData() {}
    // Sets the main window's Tag and toolbar for this window.
    virtual void Tableau() {}
    // Runs when the window becomes the active child of the main window.
    virtual void Form_Activate() {}
    // The size the main window grows to show this window whole: its layout's
    // least size, unless the window scrolls a page of its own.
    virtual QSize FitSize() const;
    // The layout's own size: a cascade gives the window as much as the frame
    // holds of it.
    QSize sizeHint() const override;
    // A box the player is still typing into goes into the record, as leaving
    // it would: the character is about to be saved.
    virtual void StoreTyping() {}

    // True once the window has been closed (it is on its way out).
    bool isUnloaded() const { return m_unloaded; }
    // True while the window is the one window of a character still being
    // made: closing it asks whether to give the character up.
    virtual bool BeingMade() const { return false; }

protected:
    // The page the window's controls are laid out on, made on first use. It
    // never gets less than its layout's least size: a window made smaller
    // (tiled, cascaded or sized by hand) scrolls it instead of squashing it.
    QWidget *Page();
    // Localises the layout and then empties the Tag, so that a window made
    // afresh always reads as one that has no character yet.
    void FinishLoad();
    // Makes this window's character the main window's current one; the main
    // window, or null when there is none.
    MainFrame *MakeCurrent();
    // This window's character stops being the current one, and the toolbar
    // follows (the window is unloading).
    void LeaveCurrent();
    // The window's own unload logic; runs before the window goes away.
    virtual void Form_Unload() {}
    // Asked first when the window is to close: false keeps it open.
    virtual bool QueryUnload() { return true; }
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_unloaded = false;
    QWidget *m_page = nullptr;
};

// Closes a window for good: its MDI frame with it when it has one.
void DisposeWindow(QWidget *w);

// A fixed table of per-character windows indexed by character number. Slot 0
// stays empty. A window that was put in a slot and has since been closed is
// made again, with an empty Tag, the next time its slot is read: the callers
// then see it as a window that lost its number and fill it again.
template <std::size_t N>
class FormTable {
public:
    using Factory = std::function<CharacterWindow *()>;

    static constexpr int size() { return static_cast<int>(N); }
    bool inRange(int n) const { return n >= 1 && n < static_cast<int>(N); }

    // The window of slot n; null when none was ever put there or n is out of range.
    CharacterWindow *operator[](int n)
    {
        if (!inRange(n))
            return nullptr;
        if (m_slots[n] && m_slots[n]->isUnloaded())
            m_slots[n] = nullptr;
        if (!m_slots[n] && m_made[n] && m_factory)
            m_slots[n] = m_factory();
        return m_slots[n].data();
    }
    // Puts w into slot n (false, and w is deleted, when n is out of range). A
    // window already in the slot is left open: only the reference changes.
    bool put(int n, CharacterWindow *w)
    {
        if (!inRange(n)) {
            delete w;
            return false;
        }
        m_slots[n] = w;
        m_made[n] = true;
        return true;
    }
    // True once a window has been put in slot n, closed or not.
    bool made(int n) const { return inRange(n) && m_made[n]; }
    // The window of slot n without making a closed one again (null once closed).
    CharacterWindow *peek(int n) const
    {
        return inRange(n) && m_slots[n] && !m_slots[n]->isUnloaded() ? m_slots[n].data() : nullptr;
    }

    void setFactory(Factory f) { m_factory = std::move(f); }
    // Makes a new window of the table's kind (null when the table has no factory).
    CharacterWindow *make() const { return m_factory ? m_factory() : nullptr; }

    // Forgets slot n, as if no window had ever been put there.
    void forget(int n)
    {
        if (!inRange(n))
            return;
        m_slots[n] = nullptr;
        m_made[n] = false;
    }

    // Closes and forgets every window (tests, end of run).
    void clear()
    {
        for (auto &w : m_slots)
            DisposeWindow(w.data());
        m_slots = {};
        m_made = {};
    }

private:
    std::array<QPointer<CharacterWindow>, N> m_slots{};
    std::array<bool, N> m_made{};
    Factory m_factory;
};

// The window tables, 11 slots for the new-character steps, 31 for the skill
// development and sheet windows.
inline FormTable<11> InitForms;
inline FormTable<11> StatChoiceForms;
inline FormTable<11> BackgroundForms;
inline FormTable<31> SkillDevForms;
inline FormTable<31> GeneralForms;
// Indexed by special-item number, not by character.
inline std::array<QPointer<QWidget>, 11> SpecialItemChooseForms{};
inline std::array<QPointer<QWidget>, 11> SpecialItemForms{};

// Closes every per-character window and empties the tables.
void ClearFormTables();
