// The button area: holds the buttons and keeps track of the one under the
// mouse. Entering a button lights it, puts its Title and Blurb up and plays
// its sound; leaving it puts the background's Title and Blurb back.

import java.awt.Container;

public class buttbox extends Container {
    private static final long serialVersionUID = 1L;

    private final quillmap applet;
    private mbutt current;

    public buttbox(quillmap applet) {
        this.applet = applet;
        setName("buttons");
        setLayout(null);
    }

    // A button added later lies above the earlier ones, as in the editor.
    void addButton(mbutt b) {
        add(b, 0);
    }

    void enter(mbutt b) {
        if (current == b)
            return;
        if (current != null)
            current.setLit(false);
        current = b;
        b.setLit(true);
        applet.showButton(b);
        b.playSound();
    }

    void leave(mbutt b) {
        if (current != b)
            return;
        b.setLit(false);
        current = null;
        applet.showDefaults();
    }

    void click(mbutt b) {
        applet.follow(b.link);
    }

    // No button lit, the background's texts shown.
    void reset() {
        if (current != null)
            current.setLit(false);
        current = null;
        if (applet.title != null)
            applet.showDefaults();
    }
}
