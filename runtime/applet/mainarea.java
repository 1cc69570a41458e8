// The Blurb: its display lines, one under the other exactly as the editor
// broke them, or a picture in their place, stretched to the Blurb rectangle
// or centred in it at its own size.

import java.awt.Color;
import java.awt.Component;
import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics;
import java.awt.Graphics2D;
import java.awt.Image;
import java.awt.RenderingHints;

public class mainarea extends Component {
    private static final long serialVersionUID = 1L;

    private final quillmap applet;
    private String[] lines;
    private Image picture;

    public mainarea(quillmap applet, Font font, Color colour, String[] lines, Image picture) {
        this.applet = applet;
        setName("blurb");
        setFont(font);
        setForeground(colour);
        this.lines = lines;
        this.picture = picture;
    }

    public void showLines(String[] l) {
        if (picture == null && same(lines, l))
            return;
        lines = l;
        picture = null;
        repaint();
    }

    public void showPicture(Image p) {
        if (picture == p)
            return;
        picture = p;
        repaint();
    }

    public void paint(Graphics g) {
        int w = getSize().width;
        int h = getSize().height;
        if (picture != null) {
            if (applet.centerImages) {
                int pw = picture.getWidth(this);
                int ph = picture.getHeight(this);
                if (pw > 0 && ph > 0)
                    g.drawImage(picture, (w - pw) / 2, (h - ph) / 2, this);
            } else {
                g.drawImage(picture, 0, 0, w, h, this);
            }
            return;
        }
        smoothText(g);
        g.setFont(getFont());
        g.setColor(getForeground());
        FontMetrics fm = g.getFontMetrics();
        int y = header.INSET + fm.getAscent();
        int step = quillmap.lineStep(getFont(), fm);
        for (int i = 0; i < lines.length && y - fm.getAscent() < h; ++i) {
            g.drawString(lines[i], header.INSET, y);
            y += step;
        }
    }

    // Text drawn with smoothed edges where the platform can, and glyphs
    // advanced by their exact widths, as the editor and browsers place them
    // (whole-pixel advances add up to a line several pixels wider or
    // narrower than the editor's).
    static void smoothText(Graphics g) {
        if (g instanceof Graphics2D) {
            Graphics2D g2 = (Graphics2D) g;
            g2.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
            g2.setRenderingHint(RenderingHints.KEY_FRACTIONALMETRICS, RenderingHints.VALUE_FRACTIONALMETRICS_ON);
        }
    }

    private static boolean same(String[] a, String[] b) {
        if (a.length != b.length)
            return false;
        for (int i = 0; i < a.length; ++i)
            if (!a[i].equals(b[i]))
                return false;
        return true;
    }
}
