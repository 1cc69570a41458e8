package qmharness;

import java.awt.Font;
import java.awt.Rectangle;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.net.URL;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Enumeration;
import java.util.List;
import java.util.zip.ZipEntry;
import java.util.zip.ZipFile;
import javax.imageio.ImageIO;

/**
 * The menu applet run on blocks that the program itself builds: designs are
 * written as project files, turned into blocks by the program's --compile, parsed
 * as a browser parses them and run in-process, and what the applet draws and
 * asks for is checked by its pixels and by its applet context.
 *
 *   AppletRuntimeTest PROGRAM_FOLDER PROGRAM WORK_FOLDER SCREENSHOT_FOLDER
 *
 * PROGRAM_FOLDER is a copy of the program folder (its java/ holds the
 * applet); PROGRAM, the program, compiles inside it.
 */
public final class AppletRuntimeTest {
    static final String[] CLASSES = {"loadall.class", "header.class", "buttbox.class", "mbutt.class",
                                     "quillmap.class", "mainarea.class"};

    // Picture colours: four quarters each, none equal to a background.
    static final int[] Q1 = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    static final int[] R1 = {0xFF00FF, 0x00FFFF, 0xFF8000, 0x8000FF};
    static final int[] C1 = {0x80FF80, 0x804000, 0x008080, 0xC0C0C0};
    static final int[] Q2 = {0x400000, 0x004000, 0x000040, 0x404000};
    static final int[] R2 = {0xFFC0C0, 0xC0FFC0, 0xC0C0FF, 0xFFFFC0};

    final Checks t = new Checks();
    final File app;
    final File program;
    final File work;
    final File shots;

    AppletRuntimeTest(File app, File program, File work, File shots) {
        this.app = app;
        this.program = program;
        this.work = work;
        this.shots = shots;
    }

    public static void main(String[] args) throws Exception {
        if (args.length != 4) {
            System.err.println("usage: AppletRuntimeTest PROGRAM_FOLDER PROGRAM WORK_FOLDER SCREENSHOT_FOLDER");
            System.exit(2);
        }
        AppletRuntimeTest test = new AppletRuntimeTest(new File(args[0]), new File(args[1]), new File(args[2]),
                                                       new File(args[3]));
        long start = System.nanoTime();
        test.archives();
        test.fullDesign();
        test.centredPicturesCropped();
        test.withoutTitleAndBlurb();
        test.programPictures();
        System.out.printf("%d checks passed, %d failed (%.1f s)%n", test.t.passes(), test.t.failures(),
                          (System.nanoTime() - start) / 1e9);
        System.exit(test.t.failures() == 0 ? 0 : 1);
    }

    File archive() {
        return new File(app, "java/quillmap.zip");
    }

    // --- The shipped files -------------------------------------------------

    /** The zip holds exactly the six classes, compiled for Java 8; so does the cabinet. */
    void archives() throws IOException, InterruptedException {
        List<String> names = new ArrayList<String>();
        List<String> notJava8 = new ArrayList<String>();
        try (ZipFile zip = new ZipFile(archive())) {
            for (Enumeration<? extends ZipEntry> e = zip.entries(); e.hasMoreElements();) {
                ZipEntry entry = e.nextElement();
                names.add(entry.getName());
                try (InputStream in = zip.getInputStream(entry)) {
                    byte[] head = new byte[8];
                    int n = in.read(head);
                    if (n < 8 || (head[0] & 0xFF) != 0xCA || head[7] != 52)
                        notJava8.add(entry.getName());
                }
            }
        }
        t.equal(Arrays.asList(CLASSES), names, "quillmap.zip holds the six classes in runtime order");
        t.check(notJava8.isEmpty(), "every class in quillmap.zip is a Java 8 class file " + notJava8);
        for (String c : CLASSES)
            t.check(new File(app, "java/" + c).isFile(), "java/" + c + " is shipped");

        File cab = new File(app, "java/quillmap.cab");
        String gcab = onPath("gcab");
        if (gcab == null) {
            System.out.println("SKIP  quillmap.cab: gcab is not installed");
            return;
        }
        Process p = new ProcessBuilder(gcab, "--list", cab.getPath()).start();
        String listing = Projects.readAll(p.getInputStream());
        p.waitFor();
        List<String> cabNames = new ArrayList<String>();
        for (String line : listing.split("\n"))
            if (line.trim().length() > 0)
                cabNames.add(line.trim());
        t.equal(Arrays.asList(CLASSES), cabNames, "quillmap.cab holds the six classes");
    }

    // --- A design with everything ------------------------------------------

    /**
     * Title, Blurb and three buttons, built in Compile form: pictures in a
     * sub-folder, a Blurb picture, a three-line blurb with an empty line, a
     * sound, links absolute, relative and to a frame, and a button whose
     * picture and sound are missing.
     */
    void fullDesign() throws Exception {
        System.out.println("-- full design (Compile form, absolute positioning)");
        File proj = new File(work, "full");
        File pics = new File(proj, "pics");
        Projects.quarters(new File(pics, "q1.gif"), 40, 20, Q1);
        Projects.quarters(new File(pics, "r1.gif"), 40, 20, R1);
        Projects.quarters(new File(pics, "c1.gif"), 30, 20, C1);
        Projects.quarters(new File(pics, "q2.gif"), 40, 20, Q2);
        Projects.quarters(new File(pics, "r2.gif"), 40, 20, R2);

        Projects.Design d = new Projects.Design();
        d.background = 0x203050;
        d.text = 0xFFE080;
        d.bgTitle = "Welcome to the shop";
        d.bgBlurb = "Click on a button\r\nto open its page";
        Projects.Button b1 = d.add(20, 150, 120, 50);
        b1.img = path(pics, "q1.gif");
        b1.over = path(pics, "r1.gif");
        b1.title = "Home";
        b1.blurb = "The home page";
        b1.blurbImage = path(pics, "c1.gif");
        b1.link = "http://example.com/a,b.html";
        b1.target = "_top";
        b1.sound = path(app, "sound/click.au");
        Projects.Button b2 = d.add(160, 150, 120, 50);
        b2.img = path(pics, "q2.gif");
        b2.over = path(pics, "r2.gif");
        b2.title = "Products and prices";
        b2.blurb = "First line\r\n\r\nThird line";
        b2.link = path(proj, "sub/next.html");
        b2.relative = true;
        b2.target = "main";
        Projects.Button b3 = d.add(300, 150, 120, 50);
        b3.img = path(pics, "nothere.gif");
        b3.title = "Contact \"us\"";
        b3.blurb = "Write to us";
        b3.link = "next.html";
        b3.target = "_blank";
        b3.sound = path(proj, "none.au");

        File qmf = new File(proj, "full.qmf");
        Projects.write(qmf, d.qmf());
        Projects.Generated g = Projects.generate(program, app, qmf);
        URL base = new URL(proj.toURI().toURL(), "menu.html");

        try (AppletHost host = new AppletHost(g.html, archive(), base)) {
            BlockParser b = host.block;
            int bg = 0x203050;
            Font titleFont = Checks.font(b.param("head_font"), b.param("head_style"), b.param("head_size"));
            Font blurbFont = Checks.font(b.param("mainbox_font"), b.param("mainbox_style"), b.param("mainbox_size"));
            AppletHost.Layout layout = host.layout();
            sameRectangles(g, layout);
            Rectangle title = layout.title, blurb = layout.blurb;
            Rectangle r1 = layout.buttons.get(0), r2 = layout.buttons.get(1), r3 = layout.buttons.get(2);
            List<Rectangle> drawn = Arrays.asList(title, blurb, r1, r2, r3);

            BufferedImage before = host.capture();
            save(before, "applet-before.png");
            t.equal(Pixels.hex(bg), Pixels.hex(Pixels.rgb(before, 1, 1)), "background colour at the top left");
            t.equal(Pixels.hex(bg), Pixels.hex(Pixels.rgb(before, before.getWidth() - 2, before.getHeight() - 2)),
                    "background colour at the bottom right");
            t.equal(0, Pixels.strayOutside(before, drawn, bg), "nothing drawn outside the Title, Blurb and buttons");
            t.quarters(before, r1, Q1, bg, null, "button 1 picture stretched");
            t.quarters(before, r2, Q2, bg, null, "button 2 picture stretched");
            t.equal(0, Pixels.countOther(before, r3, bg), "button 3 with a missing picture leaves its rectangle empty");
            t.text(before, title, bg, titleFont, new String[] {b.param("deftag")}, "Title shows deftag");
            t.text(before, blurb, bg, blurbFont, lines(b.param("defmaintext")), "Blurb shows defmaintext");
            int ink = Integer.parseInt(b.param("text_color").trim(), 16);
            t.inkedAsTheEditor(before, title, bg, ink, g.titleInk, "Title inked where the editor inks it");
            t.inkedAsTheEditor(before, blurb, bg, ink, g.blurbInk, "Blurb inked where the editor inks it");

            BufferedImage over1 = host.hover(r1.x + r1.width / 2, r1.y + r1.height / 2);
            save(over1, "applet-hover-button1.png");
            t.quarters(over1, r1, R1, bg, null, "hover 1: mouse-over picture");
            t.quarters(over1, r2, Q2, bg, null, "hover 1: button 2 unchanged");
            t.text(over1, title, bg, titleFont, new String[] {b.param("tag1")}, "hover 1: Title shows tag1");
            t.quarters(over1, blurb, C1, bg, null, "hover 1: Blurb picture stretched over the Blurb");
            t.equal(0, Pixels.strayOutside(over1, drawn, bg), "hover 1: nothing drawn elsewhere");
            t.equal(Arrays.asList(new URL(base, "click.au").toString()), urls(host.context.played),
                    "hover 1: sound1 played once");

            // Straight from one button onto the next.
            BufferedImage over2 = host.hover(r2.x + r2.width / 2, r2.y + r2.height / 2);
            save(over2, "applet-hover-button2.png");
            t.quarters(over2, r1, Q1, bg, null, "hover 2: button 1 back to its picture");
            t.quarters(over2, r2, R2, bg, null, "hover 2: mouse-over picture");
            t.text(over2, title, bg, titleFont, new String[] {b.param("tag2")}, "hover 2: Title shows tag2");
            t.text(over2, blurb, bg, blurbFont, new String[] {"First line", "", "Third line"},
                   "hover 2: Blurb shows blurb2 with its empty line");
            t.equal(1, host.context.played.size(), "hover 2: a button without a sound plays nothing");

            BufferedImage left = host.leave();
            t.check(Pixels.same(before, left), "leaving restores every pixel");

            BufferedImage over3 = host.hover(r3.x + 5, r3.y + 5);
            t.equal("Contact \"us\"", b.param("tag3"), "a quote in a title reaches the applet");
            t.text(over3, title, bg, titleFont, new String[] {b.param("tag3")}, "hover 3: Title shows tag3");
            t.text(over3, blurb, bg, blurbFont, lines(b.param("blurb3")), "hover 3: Blurb shows blurb3");
            t.equal(0, Pixels.countOther(over3, r3, bg), "hover 3: still no picture, no mouse-over picture");
            t.check(urls(host.context.soundRequests).contains(new URL(base, "none.au").toString()),
                    "sound3 was asked for");
            t.equal(1, host.context.played.size(), "hover 3: the missing sound plays nothing and stops nothing");
            t.check(Pixels.same(before, host.leave()), "leaving button 3 restores every pixel");

            host.context.shown.clear();
            host.click(r1.x + 10, r1.y + 10);
            host.click(r2.x + 10, r2.y + 10);
            host.click(r3.x + 10, r3.y + 10);
            List<String> shown = new ArrayList<String>();
            for (StubContext.Shown s : host.context.shown)
                shown.add(s.url.toString() + " -> " + s.target);
            t.equal(Arrays.asList("http://example.com/a,b.html -> _top",
                                  new URL(base, "sub/next.html") + " -> main",
                                  new URL(base, "next.html") + " -> _blank"),
                    shown, "clicks ask for each button's address in its target");
            host.leave();
        }
    }

    // --- Centred pictures, cropped, Preview form ---------------------------

    /**
     * Blurb pictures at their own size, centred; the applet cropped to the
     * content; Preview's bare file names and file link; a missing mouse-over
     * picture.
     */
    void centredPicturesCropped() throws Exception {
        System.out.println("-- centred Blurb pictures (Preview form, cropped)");
        File proj = new File(work, "centred");
        Projects.quarters(new File(proj, "q.gif"), 40, 20, Q1);
        Projects.quarters(new File(proj, "d.gif"), 30, 20, C1);
        Projects.quarters(new File(proj, "c.gif"), 24, 16, R2);

        Projects.Design d = new Projects.Design();
        d.background = 0x102010;
        d.titleFont = "Helvetica";
        d.titleStyle = "Italic";
        d.blurbFont = "Courier";
        d.stretch = false;
        d.bgTitle = "Centred pictures";
        d.bgBlurb = "hidden by the picture";
        d.blurbImage = path(proj, "d.gif");
        Projects.Button b1 = d.add(200, 160, 100, 40);
        b1.img = path(proj, "q.gif");
        b1.over = path(proj, "gone.gif");
        b1.title = "Centre";
        b1.blurbImage = path(proj, "c.gif");
        b1.link = path(proj, "sub/x.html");
        b1.relative = true;
        b1.target = "_self";

        File qmf = new File(proj, "centred.qmf");
        Projects.write(qmf, d.qmf());
        Projects.Generated g = Projects.generate(program, app, qmf, "--preview", "--cropped");
        URL base = new URL(proj.toURI().toURL(), "preview.html");
        try (AppletHost host = new AppletHost(g.html, archive(), base)) {
            BlockParser b = host.block;
            int bg = 0x102010;
            t.equal("true", b.param("defcenter"), "the block asks for centred pictures");
            t.check(g.offsetLeft != 0 || g.offsetTop != 0, "the cropped block is offset");
            AppletHost.Layout layout = host.layout();
            sameRectangles(g, layout);
            Rectangle title = layout.title, blurb = layout.blurb, r1 = layout.buttons.get(0);
            Font titleFont = Checks.font(b.param("head_font"), b.param("head_style"), b.param("head_size"));

            BufferedImage before = host.capture();
            Rectangle centred = new Rectangle(blurb.x + (blurb.width - 30) / 2, blurb.y + (blurb.height - 20) / 2, 30, 20);
            t.quarters(before, centred, C1, bg, null, "defimg centred at its own size");
            t.equal(30 * 20, Pixels.countOther(before, blurb, bg), "nothing else in the Blurb");
            t.text(before, title, bg, titleFont, new String[] {b.param("deftag")}, "Title in italic sans-serif");
            t.quarters(before, r1, Q1, bg, null, "button picture in the cropped applet");

            BufferedImage over = host.hover(r1.x + 20, r1.y + 20);
            t.quarters(over, r1, Q1, bg, null, "a missing mouse-over picture keeps the button's picture");
            Rectangle c = new Rectangle(blurb.x + (blurb.width - 24) / 2, blurb.y + (blurb.height - 16) / 2, 24, 16);
            t.quarters(over, c, R2, bg, null, "imageCenter1 centred at its own size");
            t.equal(24 * 16, Pixels.countOther(over, blurb, bg), "nothing else in the Blurb while hovering");
            t.text(over, title, bg, titleFont, new String[] {b.param("tag1")}, "hover: Title shows tag1");
            t.check(Pixels.same(before, host.leave()), "leaving restores every pixel");

            host.context.shown.clear();
            host.click(r1.x + 20, r1.y + 20);
            String expected = new File(proj, "sub/x.html").toURI().toURL() + " -> _self";
            t.equal(expected, host.context.shown.isEmpty() ? "nothing" : host.context.shown.get(0).url + " -> "
                    + host.context.shown.get(0).target, "Preview's file link is followed in _self");
            host.leave();
        }
    }

    // --- No Title and Blurb ------------------------------------------------

    /** Two overlapping buttons and nothing else; the later button lies on top. */
    void withoutTitleAndBlurb() throws Exception {
        System.out.println("-- no Title and Blurb, overlapping buttons");
        File proj = new File(work, "bare");
        Projects.quarters(new File(proj, "a.gif"), 40, 20, Q1);
        Projects.quarters(new File(proj, "ao.gif"), 40, 20, R1);
        Projects.quarters(new File(proj, "b.gif"), 40, 20, Q2);
        Projects.quarters(new File(proj, "bo.gif"), 40, 20, R2);

        Projects.Design d = new Projects.Design();
        d.background = 0x402020;
        d.showTitleAndBlurb = false;
        d.bgTitle = "never shown";
        d.bgBlurb = "never shown either";
        Projects.Button b1 = d.add(30, 40, 100, 60);
        b1.img = path(proj, "a.gif");
        b1.over = path(proj, "ao.gif");
        b1.title = "One";
        b1.blurb = "first";
        b1.link = "";
        Projects.Button b2 = d.add(100, 70, 100, 60);
        b2.img = path(proj, "b.gif");
        b2.over = path(proj, "bo.gif");
        b2.title = "Two";
        b2.blurb = "second";
        b2.link = "http://example.org/two";
        b2.target = "frame2";

        File qmf = new File(proj, "bare.qmf");
        Projects.write(qmf, d.qmf());
        Projects.Generated g = Projects.generate(program, app, qmf);
        URL base = new URL(proj.toURI().toURL(), "menu.html");
        try (AppletHost host = new AppletHost(g.html, archive(), base)) {
            int bg = 0x402020;
            AppletHost.Layout layout = host.layout();
            t.check(layout.title == null && layout.blurb == null, "no Title and no Blurb laid out");
            t.equal(g.inApplet(g.buttons.get(0)), layout.buttons.get(0), "button 1 rectangle");
            t.equal(g.inApplet(g.buttons.get(1)), layout.buttons.get(1), "button 2 rectangle");
            Rectangle r1 = layout.buttons.get(0), r2 = layout.buttons.get(1);
            List<Rectangle> drawn = Arrays.asList(r1, r2);

            BufferedImage before = host.capture();
            t.quarters(before, r2, Q2, null, null, "button 2 whole, above button 1");
            t.quarters(before, r1, Q1, null, r2, "button 1 where button 2 does not cover it");
            t.equal(0, Pixels.strayOutside(before, drawn, bg), "no text anywhere");

            BufferedImage overlap = host.hover(r2.x + 5, r2.y + 5);
            t.quarters(overlap, r2, R2, null, null, "hover on the overlap lights the upper button");
            t.quarters(overlap, r1, Q1, null, r2, "and leaves the lower one");
            t.equal(0, Pixels.strayOutside(overlap, drawn, bg), "hover shows no Title or Blurb");

            BufferedImage lower = host.hover(r1.x + 5, r1.y + 5);
            t.quarters(lower, r1, R1, null, r2, "hover on button 1 alone lights it");
            t.quarters(lower, r2, Q2, null, null, "and puts button 2 back");
            t.check(Pixels.same(before, host.leave()), "leaving restores every pixel");

            host.context.shown.clear();
            host.click(r1.x + 5, r1.y + 5);
            t.equal(0, host.context.shown.size(), "a button without an address opens nothing");
            host.click(r2.x + 5, r2.y + 5);
            t.equal("http://example.org/two -> frame2", host.context.shown.isEmpty() ? "nothing"
                    : host.context.shown.get(0).url + " -> " + host.context.shown.get(0).target,
                    "the upper button's link in its frame");
            host.leave();
        }
    }

    // --- The program's own pictures ---------------------------------------

    /**
     * The default button with the program's default and mouse-over pictures
     * and sound, in Preview form as Preview lays the files out: the pictures
     * the program makes must load in a Java applet runner.
     */
    void programPictures() throws Exception {
        System.out.println("-- the program's default button (Preview form)");
        File page = new File(work, "preview");
        page.mkdirs();
        for (String f : new String[] {"images/default.gif", "images/mouse.gif", "sound/click.au"})
            java.nio.file.Files.copy(new File(app, f).toPath(), new File(page, new File(f).getName()).toPath());

        Projects.Design d = new Projects.Design();
        d.bgTitle = "type background title here";
        d.bgBlurb = "type background blurb here";
        Projects.Button b1 = d.add(150, 150, 156, 65);
        b1.img = path(app, "images/default.gif");
        b1.over = path(app, "images/mouse.gif");
        b1.title = "type button title here";
        b1.blurb = "type button blurb here";
        b1.link = "http://example.com/";
        b1.sound = path(app, "sound/click.au");
        File qmf = new File(work, "default.qmf");
        Projects.write(qmf, d.qmf());
        Projects.Generated g = Projects.generate(program, app, qmf, "--preview");
        URL base = new URL(page.toURI().toURL(), "preview.html");
        try (AppletHost host = new AppletHost(g.html, archive(), base)) {
            BlockParser b = host.block;
            AppletHost.Layout layout = host.layout();
            Rectangle r = layout.buttons.get(0);
            BufferedImage before = host.capture();
            save(before, "applet-default-before.png");
            // The editor fits this title on one line; the applet must not cut it.
            t.text(before, layout.title, 0x000000,
                   Checks.font(b.param("head_font"), b.param("head_style"), b.param("head_size")),
                   new String[] {b.param("deftag")}, "the default Title whole, in a Times face");
            t.check(Pixels.countOther(before, r, 0x000000) > r.width * r.height / 2,
                    "default.gif drawn over the button");
            BufferedImage over = host.hover(r.x + r.width / 2, r.y + r.height / 2);
            save(over, "applet-default-hover.png");
            int changed = 0;
            for (int y = r.y; y < r.y + r.height; ++y)
                for (int x = r.x; x < r.x + r.width; ++x)
                    if (before.getRGB(x, y) != over.getRGB(x, y))
                        ++changed;
            t.check(changed > r.width * r.height / 4, "mouse.gif replaces it on hover (" + changed + " pixels changed)");
            t.equal(Arrays.asList(new URL(base, "click.au").toString()), urls(host.context.played), "click.au played");
            t.check(Pixels.same(before, host.leave()), "leaving restores every pixel");
        }
    }

    // --- Helpers -----------------------------------------------------------

    /** The applet's rectangles are the editor's, moved by the block's offsets. */
    void sameRectangles(Projects.Generated g, AppletHost.Layout layout) {
        t.equal(g.inApplet(g.title), layout.title, "Title rectangle is the editor's");
        t.equal(g.inApplet(g.blurb), layout.blurb, "Blurb rectangle is the editor's");
        t.equal(g.buttons.size(), layout.buttons.size(), "one button per design button");
        for (int i = 0; i < g.buttons.size() && i < layout.buttons.size(); ++i)
            t.equal(g.inApplet(g.buttons.get(i)), layout.buttons.get(i), "button " + (i + 1) + " rectangle is the editor's");
    }

    /** Display lines of a multi-line value as the browser hands it over. */
    static String[] lines(String value) {
        String[] parts = value.split("\\|", -1);
        for (int i = 0; i < parts.length; ++i)
            parts[i] = parts[i].replaceAll("[\r\n]+$", "");
        return parts;
    }

    static List<String> urls(List<URL> list) {
        List<String> out = new ArrayList<String>();
        synchronized (list) {
            for (URL u : list)
                out.add(u.toString());
        }
        return out;
    }

    static String path(File folder, String name) {
        return new File(folder, name).getAbsolutePath();
    }

    static String onPath(String program) {
        String path = System.getenv("PATH");
        if (path == null)
            return null;
        for (String dir : path.split(File.pathSeparator)) {
            File f = new File(dir, program);
            if (f.canExecute())
                return f.getPath();
        }
        return null;
    }

    void save(BufferedImage img, String name) throws IOException {
        shots.mkdirs();
        ImageIO.write(img, "png", new File(shots, name));
    }
}
