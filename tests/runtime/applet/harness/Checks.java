package qmharness;

import java.awt.Font;
import java.awt.FontMetrics;
import java.awt.Graphics2D;
import java.awt.GraphicsEnvironment;
import java.awt.Rectangle;
import java.awt.RenderingHints;
import java.awt.image.BufferedImage;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/** The checks the runtime test makes, each printing one PASS or FAIL line. */
public final class Checks {
    /** Where a text area starts its text inside its rectangle. */
    static final int INSET = 3;

    private int failures;
    private int passes;

    public int failures() {
        return failures;
    }

    public int passes() {
        return passes;
    }

    public boolean check(boolean ok, String what) {
        System.out.println((ok ? "PASS  " : "FAIL  ") + what);
        if (ok)
            ++passes;
        else
            ++failures;
        return ok;
    }

    public void equal(Object expected, Object actual, String what) {
        boolean ok = expected == null ? actual == null : expected.equals(actual);
        check(ok, what + (ok ? "" : ": expected " + expected + ", got " + actual));
    }

    /**
     * A quarters picture drawn into exactly r: each quarter in its colour
     * (a pixel either side of the split lines is left out, where scaling may
     * round either way), and, when ring is not null, the pixels just outside
     * r in that colour. Pixels inside except are not looked at.
     */
    public void quarters(BufferedImage img, Rectangle r, int[] colours, Integer ring, Rectangle except, String what) {
        int wrong = 0;
        String first = null;
        int midX = r.x + r.width / 2, midY = r.y + r.height / 2;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x) {
                if (Math.abs(x - midX) <= 1 || Math.abs(y - midY) <= 1)
                    continue;
                if (except != null && except.contains(x, y))
                    continue;
                int want = colours[(y < midY ? 0 : 2) + (x < midX ? 0 : 1)];
                int got = Pixels.rgb(img, x, y);
                if (got != want && wrong++ == 0)
                    first = "(" + x + "," + y + ") is " + Pixels.hex(got) + ", not " + Pixels.hex(want);
            }
        if (ring != null) {
            for (int x = r.x - 1; x <= r.x + r.width; ++x) {
                wrong += ringPixel(img, x, r.y - 1, ring, except);
                wrong += ringPixel(img, x, r.y + r.height, ring, except);
            }
            for (int y = r.y; y < r.y + r.height; ++y) {
                wrong += ringPixel(img, r.x - 1, y, ring, except);
                wrong += ringPixel(img, r.x + r.width, y, ring, except);
            }
        }
        check(wrong == 0, what + " at " + str(r) + (wrong == 0 ? "" : ": " + wrong + " pixels wrong"
                + (first != null ? ", first " + first : " (outside the rectangle)")));
    }

    private static int ringPixel(BufferedImage img, int x, int y, int colour, Rectangle except) {
        if (x < 0 || y < 0 || x >= img.getWidth() || y >= img.getHeight())
            return 0;
        if (except != null && except.contains(x, y))
            return 0;
        return Pixels.rgb(img, x, y) == colour ? 0 : 1;
    }

    /**
     * Text lines drawn in r, one under the other from the top left, as the
     * lines given (empty lines leave a gap): one band of ink per non-empty
     * line, each starting at the left inset, as wide as the line is in that
     * font and a line height below the one before.
     */
    public void text(BufferedImage img, Rectangle r, int background, Font font, String[] lines, String what) {
        FontMetrics fm = metrics(font);
        List<int[]> bands = Pixels.bands(img, r, background);
        int expectedBands = 0;
        for (String l : lines)
            if (l.trim().length() > 0)
                ++expectedBands;
        if (!check(bands.size() == expectedBands,
                   what + ": " + expectedBands + " line(s) of ink in " + str(r) + (bands.size() == expectedBands ? "" : ", found " + bands.size())))
            return;
        int k = 0;
        boolean first = true;
        StringBuilder problems = new StringBuilder();
        for (int i = 0; i < lines.length; ++i) {
            if (lines[i].trim().length() == 0)
                continue;
            int[] band = bands.get(k++);
            Rectangle ink = Pixels.extentOfOther(img, new Rectangle(r.x, band[0], r.width, band[1] - band[0]), background);
            int advance = fm.stringWidth(lines[i]);
            int tolerance = 3 + advance / 20;
            if (Math.abs(ink.width - advance) > tolerance)
                problems.append(" '" + lines[i] + "' is " + ink.width + " wide, not about " + advance + ";");
            if (ink.x < r.x + INSET - 2 || ink.x > r.x + INSET + 3)
                problems.append(" '" + lines[i] + "' starts at x " + ink.x + ", not near " + (r.x + INSET) + ";");
            // A line that fits must not be cut at the right edge.
            if (r.x + INSET + advance < r.x + r.width - 2 && ink.x + ink.width > r.x + r.width - 2)
                problems.append(" '" + lines[i] + "' runs into the right edge;");
            // Where each line lies against the editor's is inkedAsTheEditor's.
            if (first && (band[0] < r.y + INSET || band[0] > r.y + INSET + fm.getAscent()))
                problems.append(" first line's top at " + band[0] + ";");
            first = false;
        }
        check(problems.length() == 0, what + ": lines placed and sized" + problems);
    }

    static FontMetrics metrics(Font font) {
        BufferedImage scratch = new BufferedImage(4, 4, BufferedImage.TYPE_INT_RGB);
        Graphics2D g = scratch.createGraphics();
        g.setRenderingHint(RenderingHints.KEY_TEXT_ANTIALIASING, RenderingHints.VALUE_TEXT_ANTIALIAS_ON);
        g.setRenderingHint(RenderingHints.KEY_FRACTIONALMETRICS, RenderingHints.VALUE_FRACTIONALMETRICS_ON);
        FontMetrics fm = g.getFontMetrics(font);
        g.dispose();
        return fm;
    }

    /**
     * The font an applet parameter triple names: the Liberation face the
     * editor lays the areas out in, or one with its metrics (the Times,
     * Arial and Courier faces of Windows), else the logical font.
     */
    public static Font font(String name, String style, String size) {
        String family;
        if ("helvetica".equals(name))
            family = installed("SansSerif", "Liberation Sans", "Arial", "Arimo", "Helvetica");
        else if ("courier".equals(name))
            family = installed("Monospaced", "Liberation Mono", "Courier New", "Cousine", "Courier");
        else if ("dialog".equals(name))
            family = installed("Dialog", "Liberation Sans", "Arial", "Arimo", "Helvetica");
        else
            family = installed("Serif", "Liberation Serif", "Times New Roman", "Tinos", "Times");
        int s = Font.PLAIN;
        if ("bold".equals(style))
            s = Font.BOLD;
        else if ("italic".equals(style))
            s = Font.ITALIC;
        else if ("bold+italic".equals(style))
            s = Font.BOLD | Font.ITALIC;
        return new Font(family, s, Integer.parseInt(size.trim()));
    }

    /**
     * Each line of an area inked where the editor inks it, within 2 pixels
     * in place and width: a pixel is ink when it is at least a quarter of
     * the way from the background to the text colour, as the editor counts.
     */
    public void inkedAsTheEditor(BufferedImage img, Rectangle area, int background, int text, List<Rectangle> editor,
                                 String what) {
        List<Rectangle> want = new ArrayList<Rectangle>();
        for (Rectangle e : editor)
            if (e.width > 0)
                want.add(new Rectangle(area.x + e.x, area.y + e.y, e.width, e.height));
        List<Rectangle> got = new ArrayList<Rectangle>();
        Rectangle line = null;
        for (int y = area.y; y < area.y + area.height; ++y) {
            Rectangle row = null;
            for (int x = area.x; x < area.x + area.width; ++x)
                if (inked(img, x, y, background, text))
                    row = row == null ? new Rectangle(x, y, 1, 1) : row.union(new Rectangle(x, y, 1, 1));
            if (row == null)
                line = null;
            else if (line == null)
                got.add(line = row);
            else
                got.set(got.size() - 1, line = line.union(row));
        }
        StringBuilder problems = new StringBuilder();
        if (got.size() != want.size())
            problems.append(" ").append(got.size()).append(" inked lines, the editor has ").append(want.size());
        for (int i = 0; i < Math.min(got.size(), want.size()); ++i) {
            Rectangle g = got.get(i), w = want.get(i);
            if (Math.abs(g.x - w.x) > 2 || Math.abs(g.y - w.y) > 2 || Math.abs(g.width - w.width) > 2)
                problems.append(" line ").append(i + 1).append(" inked at ").append(str(g)).append(", the editor at ")
                        .append(str(w)).append(";");
        }
        check(problems.length() == 0, what + problems);
    }

    private static boolean inked(BufferedImage img, int x, int y, int background, int text) {
        int c = Pixels.rgb(img, x, y);
        int most = 0, full = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            most = Math.max(most, Math.abs(((c >> shift) & 0xff) - ((background >> shift) & 0xff)));
            full = Math.max(full, Math.abs(((text >> shift) & 0xff) - ((background >> shift) & 0xff)));
        }
        return full > 0 && most * 4 >= full;
    }

    private static String installed(String logical, String... faces) {
        List<String> families = Arrays.asList(GraphicsEnvironment.getLocalGraphicsEnvironment().getAvailableFontFamilyNames());
        for (String f : faces)
            if (families.contains(f))
                return f;
        return logical;
    }

    static String str(Rectangle r) {
        return r == null ? "null" : r.x + "," + r.y + " " + r.width + "x" + r.height;
    }
}
