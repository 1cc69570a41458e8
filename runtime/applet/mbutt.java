// One menu button: its picture stretched to its rectangle, the mouse-over
// picture while the mouse is on it, and its link on a click. What else
// changes on a hover (Title, Blurb, sound) is the button area's business.

import java.applet.AudioClip;
import java.awt.Component;
import java.awt.Cursor;
import java.awt.Graphics;
import java.awt.Image;
import java.awt.event.MouseEvent;
import java.awt.event.MouseListener;

public class mbutt extends Component implements MouseListener {
    private static final long serialVersionUID = 1L;

    final buttbox box;
    final int number;

    Image normal;
    Image over;
    String tag = "";
    String[] blurbLines = new String[] {""};
    String centerImage = "";
    AudioClip sound;
    String link = "";

    private boolean lit;
    private boolean pressed;

    public mbutt(buttbox box, int number) {
        this.box = box;
        this.number = number;
        setName("button" + number);
        setCursor(Cursor.getPredefinedCursor(Cursor.HAND_CURSOR));
        addMouseListener(this);
    }

    // Lit shows the mouse-over picture, when the button has one.
    void setLit(boolean on) {
        if (lit == on)
            return;
        lit = on;
        pressed = false;
        if (over != null)
            repaint();
    }

    void playSound() {
        if (sound == null)
            return;
        try {
            sound.play();
        } catch (RuntimeException e) {
            // No audio on this machine: the menu goes on silently.
        }
    }

    public void paint(Graphics g) {
        Image picture = lit && over != null ? over : normal;
        if (picture != null)
            g.drawImage(picture, 0, 0, getSize().width, getSize().height, this);
    }

    public void mouseEntered(MouseEvent e) {
        box.enter(this);
    }

    public void mouseExited(MouseEvent e) {
        box.leave(this);
    }

    public void mousePressed(MouseEvent e) {
        if ((e.getModifiers() & MouseEvent.BUTTON1_MASK) != 0)
            pressed = true;
    }

    // A click is a press and a release on the same button, as for a link in
    // the page; a small movement in between does not cancel it.
    public void mouseReleased(MouseEvent e) {
        boolean click = pressed && contains(e.getX(), e.getY());
        pressed = false;
        if (click)
            box.click(this);
    }

    public void mouseClicked(MouseEvent e) {
    }
}
