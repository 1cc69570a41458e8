package qmharness;

import java.io.File;
import java.net.URL;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;

/**
 * Renders an applet block and prints where the applet put each element, in
 * applet coordinates:
 *
 *   {"width":W,"height":H,"title":{...} or null,"blurb":{...} or null,
 *    "buttons":[{"left":..,"top":..,"width":..,"height":..}, ...]}
 *
 *   AppletRects BLOCK.html ARCHIVE.zip
 *
 * Pictures and sounds load relative to the block file, as for a page.
 */
public final class AppletRects {
    public static void main(String[] args) throws Exception {
        if (args.length != 2) {
            System.err.println("usage: AppletRects BLOCK.html quillmap.zip");
            System.exit(2);
        }
        File block = new File(args[0]).getAbsoluteFile();
        String html = new String(Files.readAllBytes(block.toPath()), StandardCharsets.UTF_8);
        URL base = block.toURI().toURL();
        String json;
        try (AppletHost host = new AppletHost(html, new File(args[1]), base)) {
            json = host.layout().toJson();
        }
        System.out.println(json);
        System.exit(0);
    }
}
