package qmharness;

import java.awt.Rectangle;
import java.awt.image.BufferedImage;
import java.awt.image.IndexColorModel;
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import javax.imageio.ImageIO;

/**
 * Designs written as project files, pictures for them, and the program's
 * own command line run on them.
 */
public final class Projects {
    private Projects() {
    }

    /** A design as the project file stores it. */
    public static final class Design {
        public Rectangle title = new Rectangle(46, 8, 372, 41);
        public Rectangle blurb = new Rectangle(46, 56, 372, 73);
        public int background = 0x000000; // RRGGBB
        public int text = 0xFFFFFF;       // RRGGBB
        public int titleSize = 24;
        public String titleFont = "Times Roman";
        public String titleStyle = "Bold";
        public int blurbSize = 14;
        public String blurbFont = "Times Roman";
        public String blurbStyle = "Normal";
        public boolean showTitleAndBlurb = true;
        public String bgTitle = "";
        public String bgBlurb = "";
        public String blurbImage = "";
        public boolean stretch = true;
        public final List<Button> buttons = new ArrayList<Button>();

        public Button add(int left, int top, int width, int height) {
            Button b = new Button();
            b.rect = new Rectangle(left, top, width, height);
            buttons.add(b);
            return b;
        }

        /** The project file: every value quoted, lines ended by CR LF. */
        public String qmf() {
            StringBuilder b = new StringBuilder();
            line(b, "Quillmap Version:");
            line(b, "v1.0");
            line(b, "Globals:");
            geometry(b, title);
            geometry(b, blurb);
            line(b, Integer.toString(colourValue(background)));
            line(b, Integer.toString(colourValue(text)));
            line(b, Integer.toString(titleSize));
            line(b, titleFont);
            line(b, titleStyle);
            line(b, Integer.toString(blurbSize));
            line(b, blurbFont);
            line(b, blurbStyle);
            line(b, Boolean.toString(showTitleAndBlurb));
            line(b, "Background:");
            line(b, bgTitle);
            line(b, bgBlurb);
            line(b, blurbImage);
            line(b, Boolean.toString(stretch));
            for (Button k : buttons) {
                line(b, "Button:");
                geometry(b, k.rect);
                line(b, k.img);
                line(b, k.over);
                line(b, k.title);
                line(b, k.blurb);
                line(b, k.blurbImage);
                line(b, k.link);
                line(b, Boolean.toString(k.relative));
                line(b, k.sound);
                line(b, k.target);
            }
            return b.toString();
        }

        private static void geometry(StringBuilder b, Rectangle r) {
            line(b, Integer.toString(r.y));
            line(b, Integer.toString(r.x));
            line(b, Integer.toString(r.height));
            line(b, Integer.toString(r.width));
        }

        private static void line(StringBuilder b, String value) {
            b.append('"').append(value).append('"').append("\r\n");
        }

        /** Colours are stored as 0x00BBGGRR. */
        private static int colourValue(int rgb) {
            int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, bl = rgb & 0xFF;
            return (bl << 16) | (g << 8) | r;
        }
    }

    public static final class Button {
        public Rectangle rect;
        public String img = "";
        public String over = "";
        public String title = "";
        /** Lines separated by CR LF. */
        public String blurb = "";
        public String blurbImage = "";
        public String link = "";
        public boolean relative;
        public String sound = "";
        public String target = "_self";
    }

    /** What the program's --compile --json printed for a project. */
    public static final class Generated {
        public String html;
        public int offsetLeft;
        public int offsetTop;
        public Rectangle title;
        public Rectangle blurb;
        public boolean showTitleAndBlurb;
        public final List<Rectangle> buttons = new ArrayList<Rectangle>();
        /** Where the editor inks each background line, in area coordinates; empty for a line without ink. */
        public final List<Rectangle> titleInk = new ArrayList<Rectangle>();
        public final List<Rectangle> blurbInk = new ArrayList<Rectangle>();

        /** An editor rectangle moved into applet coordinates. */
        public Rectangle inApplet(Rectangle editor) {
            return new Rectangle(editor.x - offsetLeft, editor.y - offsetTop, editor.width, editor.height);
        }
    }

    /**
     * Runs the program's command line on a project file from inside a
     * program folder. Compile's form also copies the runtime and the sounds
     * beside the project.
     */
    public static Generated generate(File program, File programFolder, File project, String... flags)
            throws IOException, InterruptedException {
        List<String> cmd = new ArrayList<String>();
        cmd.add(program.getAbsolutePath());
        cmd.add("--compile");
        if (!Arrays.asList(flags).contains("--preview")) {
            cmd.add("--runtime");
            cmd.add(project.getAbsoluteFile().getParent());
        }
        for (String f : flags)
            cmd.add(f);
        cmd.add("--json");
        cmd.add(project.getAbsolutePath());
        File errors = File.createTempFile("quillmap", ".err");
        ProcessBuilder pb = new ProcessBuilder(cmd).directory(programFolder);
        pb.environment().put("QT_QPA_PLATFORM", "offscreen");
        pb.redirectError(errors);
        Process p = pb.start();
        String out = readAll(p.getInputStream());
        int rc = p.waitFor();
        String messages = new String(Files.readAllBytes(errors.toPath()), StandardCharsets.UTF_8);
        errors.delete();
        if (rc != 0)
            throw new IOException("quillmap --compile failed (" + rc + ") for " + project + ":\n" + messages);
        @SuppressWarnings("unchecked")
        Map<String, Object> o = (Map<String, Object>) Json.parse(out);
        Generated g = new Generated();
        g.html = (String) o.get("html");
        g.offsetLeft = ((Number) o.get("offsetLeft")).intValue();
        g.offsetTop = ((Number) o.get("offsetTop")).intValue();
        g.showTitleAndBlurb = Boolean.TRUE.equals(o.get("showTitleAndBlurb"));
        g.title = rect(o.get("title"));
        g.blurb = rect(o.get("blurb"));
        for (Object r : (List<?>) o.get("buttons"))
            g.buttons.add(rect(r));
        for (Object l : (List<?>) o.get("titleLines"))
            g.titleInk.add(rect(((Map<?, ?>) l).get("ink")));
        for (Object l : (List<?>) o.get("blurbLines"))
            g.blurbInk.add(rect(((Map<?, ?>) l).get("ink")));
        return g;
    }

    private static Rectangle rect(Object json) {
        Map<?, ?> m = (Map<?, ?>) json;
        return new Rectangle(((Number) m.get("left")).intValue(), ((Number) m.get("top")).intValue(),
                             ((Number) m.get("width")).intValue(), ((Number) m.get("height")).intValue());
    }

    static String readAll(InputStream in) throws IOException {
        ByteArrayOutputStream b = new ByteArrayOutputStream();
        byte[] buf = new byte[8192];
        for (int n; (n = in.read(buf)) > 0;)
            b.write(buf, 0, n);
        return new String(b.toByteArray(), StandardCharsets.UTF_8);
    }

    public static void write(File f, String text) throws IOException {
        f.getParentFile().mkdirs();
        Files.write(f.toPath(), text.getBytes(StandardCharsets.UTF_8));
    }

    /**
     * A GIF of four solid quarters (top left, top right, bottom left, bottom
     * right), so that where its corners land shows where and how large the
     * picture was drawn.
     */
    public static void quarters(File f, int w, int h, int[] colours) throws IOException {
        byte[] r = new byte[4], g = new byte[4], b = new byte[4];
        for (int i = 0; i < 4; ++i) {
            r[i] = (byte) (colours[i] >> 16);
            g[i] = (byte) (colours[i] >> 8);
            b[i] = (byte) colours[i];
        }
        BufferedImage img = new BufferedImage(w, h, BufferedImage.TYPE_BYTE_INDEXED, new IndexColorModel(2, 4, r, g, b));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setRGB(x, y, 0xFF000000 | colours[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)]);
        f.getParentFile().mkdirs();
        if (!ImageIO.write(img, "gif", f))
            throw new IOException("no GIF writer");
    }

    /** A short Sun AU file: 8000 Hz mono mu-law silence. */
    public static void au(File f) throws IOException {
        int count = 400;
        byte[] data = new byte[24 + count];
        int[] header = {0x2E736E64, 24, count, 1, 8000, 1};
        for (int i = 0; i < header.length; ++i)
            for (int k = 0; k < 4; ++k)
                data[i * 4 + k] = (byte) (header[i] >> (24 - 8 * k));
        for (int i = 24; i < data.length; ++i)
            data[i] = (byte) 0xFF;
        f.getParentFile().mkdirs();
        Files.write(f.toPath(), data);
    }
}
