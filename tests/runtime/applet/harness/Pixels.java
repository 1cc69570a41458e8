package qmharness;

import java.awt.Rectangle;
import java.awt.image.BufferedImage;
import java.util.ArrayList;
import java.util.List;

/** Pixel reading for the checks: colours, regions, text bands. */
public final class Pixels {
    private Pixels() {
    }

    public static int rgb(BufferedImage img, int x, int y) {
        return img.getRGB(x, y) & 0xFFFFFF;
    }

    public static boolean same(BufferedImage a, BufferedImage b) {
        if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight())
            return false;
        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getRGB(x, y) != b.getRGB(x, y))
                    return false;
        return true;
    }

    public static String hex(int rgb) {
        return String.format("%06X", rgb & 0xFFFFFF);
    }

    /** Pixels in r that differ from colour. */
    public static int countOther(BufferedImage img, Rectangle r, int colour) {
        int n = 0;
        Rectangle c = r.intersection(new Rectangle(0, 0, img.getWidth(), img.getHeight()));
        for (int y = c.y; y < c.y + c.height; ++y)
            for (int x = c.x; x < c.x + c.width; ++x)
                if (rgb(img, x, y) != colour)
                    ++n;
        return n;
    }

    /** Smallest rectangle holding every pixel of r that differs from colour, or null. */
    public static Rectangle extentOfOther(BufferedImage img, Rectangle r, int colour) {
        int x0 = Integer.MAX_VALUE, y0 = Integer.MAX_VALUE, x1 = -1, y1 = -1;
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                if (rgb(img, x, y) != colour) {
                    x0 = Math.min(x0, x);
                    y0 = Math.min(y0, y);
                    x1 = Math.max(x1, x);
                    y1 = Math.max(y1, y);
                }
        return x1 < 0 ? null : new Rectangle(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    }

    /**
     * Runs of rows in r holding at least one pixel that differs from
     * colour: each text line makes one band. Returned as {top, bottom}
     * pairs, bottom exclusive, in applet coordinates.
     */
    public static List<int[]> bands(BufferedImage img, Rectangle r, int colour) {
        List<int[]> out = new ArrayList<int[]>();
        int start = -1;
        for (int y = r.y; y <= r.y + r.height; ++y) {
            boolean ink = false;
            if (y < r.y + r.height)
                for (int x = r.x; x < r.x + r.width && !ink; ++x)
                    ink = rgb(img, x, y) != colour;
            if (ink && start < 0)
                start = y;
            if (!ink && start >= 0) {
                out.add(new int[] {start, y});
                start = -1;
            }
        }
        return out;
    }

    /**
     * Pixels that differ from colour outside every one of the rectangles:
     * ink where nothing may be drawn.
     */
    public static int strayOutside(BufferedImage img, List<Rectangle> allowed, int colour) {
        int n = 0;
        for (int y = 0; y < img.getHeight(); ++y)
            for (int x = 0; x < img.getWidth(); ++x) {
                if (rgb(img, x, y) == colour)
                    continue;
                boolean inside = false;
                for (Rectangle r : allowed)
                    if (r != null && r.contains(x, y)) {
                        inside = true;
                        break;
                    }
                if (!inside)
                    ++n;
            }
        return n;
    }
}
