// The Title: one line of text in the Title rectangle, in the Title font and
// the text colour. It shows the background's title, or the title of the
// button under the mouse.

import java.awt.Color;
import java.awt.Component;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;

public class header extends Component {
    private static final long serialVersionUID = 1L;

    // Where the editor's text area starts its text: a two-pixel frame and a
    // one-pixel margin.
    static final int INSET = 3;

    private String text;

    public header(Font font, Color colour, String text) {
        setName("title");
        setFont(font);
        setForeground(colour);
        this.text = text;
    }

    public void setText(String t) {
        if (t.equals(text))
            return;
        text = t;
        repaint();
    }

    public void paint(Graphics g) {
        if (text.length() == 0)
            return;
        mainarea.smoothText(g);
        g.setFont(getFont());
        g.setColor(getForeground());
        FontMetrics fm = g.getFontMetrics();
        g.drawString(text, INSET, INSET + fm.getAscent());
    }
}
