// The demo game client: what the launcher starts as "MainClass.StartUp".
//
// It is a single class because the launcher extracts only StartUp.class from
// the client code file; nested or anonymous classes would be missing at run
// time. It shows the installed data sets (the files below "data" in the
// installation directory, which is the class path root) in a window titled
// "Quorvash" and ends when the window is closed. With --self-test it runs
// headless: it decodes every installed picture and sound, prints a summary
// and ends with 0 when all of them are usable.
package MainClass;

import java.awt.Color;
import java.awt.Font;
import java.awt.Frame;
import java.awt.Graphics;
import java.awt.Image;
import java.awt.Toolkit;
import java.awt.event.WindowEvent;
import java.awt.event.WindowListener;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.lang.reflect.Field;
import java.net.URISyntaxException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.security.CodeSource;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import javax.imageio.ImageIO;
import javax.sound.sampled.AudioFileFormat;
import javax.sound.sampled.AudioSystem;
import javax.sound.sampled.UnsupportedAudioFileException;

public class StartUp extends Frame implements WindowListener {
    private static final long serialVersionUID = 1L;

    // The single-instance test of the launcher looks for both.
    static final String WINDOW_TITLE = "Quorvash";
    static final String WINDOW_CLASS = "MainClass.MainClass";
    // Base directory of the demo data packages, below the installation directory.
    static final String DATA_DIRECTORY = "data";

    private final transient Path installDir;
    private final transient List<Path> files;
    private final transient List<Image> pictures = new ArrayList<>();

    StartUp(Path installDir, List<Path> files) {
        super(WINDOW_TITLE);
        this.installDir = installDir;
        this.files = files;
        for (Path file : files) {
            if (isPicture(file)) {
                try {
                    BufferedImage picture = ImageIO.read(file.toFile());
                    if (picture != null) {
                        pictures.add(picture);
                    }
                } catch (IOException error) {
                    // A damaged picture is left out of the view.
                }
            }
        }
        setSize(640, 480);
        setBackground(new Color(24, 28, 36));
        addWindowListener(this);
    }

    public static void main(String[] args) throws IOException {
        Path installDir = installDirectory();
        List<Path> files = dataFiles(installDir);
        if (args.length > 0 && args[0].equals("--self-test")) {
            System.exit(selfTest(installDir, files));
        }
        nameWindowClass();
        StartUp window = new StartUp(installDir, files);
        window.setVisible(true);
    }

    // The directory StartUp was loaded from (the class path root), else the
    // working directory; the launcher makes both the installation directory.
    static Path installDirectory() {
        try {
            CodeSource source = StartUp.class.getProtectionDomain().getCodeSource();
            if (source != null && source.getLocation() != null) {
                Path root = Paths.get(source.getLocation().toURI());
                if (Files.isDirectory(root)) {
                    return root;
                }
            }
        } catch (URISyntaxException | RuntimeException error) {
            // Fall back to the working directory.
        }
        return Paths.get(System.getProperty("user.dir"));
    }

    static List<Path> dataFiles(Path installDir) throws IOException {
        Path data = installDir.resolve(DATA_DIRECTORY);
        if (!Files.isDirectory(data)) {
            return Collections.emptyList();
        }
        try (Stream<Path> walk = Files.walk(data)) {
            return walk.filter(Files::isRegularFile).sorted().collect(Collectors.toList());
        }
    }

    // The version files hold one 32-bit little-endian integer each.
    static int readVersion(Path file) {
        try {
            byte[] bytes = Files.readAllBytes(file);
            return bytes.length == 4 ? ByteBuffer.wrap(bytes).order(ByteOrder.LITTLE_ENDIAN).getInt() : 0;
        } catch (IOException error) {
            return 0;
        }
    }

    static boolean isPicture(Path file) {
        String name = file.getFileName().toString().toLowerCase();
        return name.endsWith(".png") || name.endsWith(".jpg") || name.endsWith(".gif");
    }

    static boolean isSound(Path file) {
        return file.getFileName().toString().toLowerCase().endsWith(".wav");
    }

    static int selfTest(Path installDir, List<Path> files) {
        int pictureCount = 0;
        int soundCount = 0;
        int failures = 0;
        for (Path file : files) {
            try {
                if (isPicture(file)) {
                    BufferedImage picture = ImageIO.read(file.toFile());
                    if (picture == null) {
                        throw new IOException("not a picture");
                    }
                    ++pictureCount;
                } else if (isSound(file)) {
                    AudioFileFormat format = AudioSystem.getAudioFileFormat(file.toFile());
                    if (format.getFrameLength() <= 0) {
                        throw new IOException("no sound in it");
                    }
                    ++soundCount;
                }
            } catch (IOException | UnsupportedAudioFileException error) {
                System.err.println("unusable " + installDir.relativize(file) + ": " + error.getMessage());
                ++failures;
            }
        }
        System.out.println("data version " + readVersion(installDir.resolve("qvs.dat"))
                + ", client code version " + readVersion(installDir.resolve("qvsc.dat"))
                + ", " + files.size() + " files, " + pictureCount + " pictures, "
                + soundCount + " sounds");
        return files.isEmpty() || failures > 0 ? 1 : 0;
    }

    // On X11 the window class part of WM_CLASS comes from the toolkit's
    // application class name, derived from the main class ("MainClass-StartUp").
    // The launcher recognises a running game by "MainClass.MainClass", so the
    // name is set before the first window exists. sun.misc.Unsafe (module
    // jdk.unsupported) reaches the private field without extra JVM options;
    // where any of it is missing, the default name stays.
    static void nameWindowClass() {
        try {
            Toolkit toolkit = Toolkit.getDefaultToolkit();
            if (!toolkit.getClass().getName().equals("sun.awt.X11.XToolkit")) {
                return;
            }
            Field field = toolkit.getClass().getDeclaredField("awtAppClassName");
            Class<?> unsafeType = Class.forName("sun.misc.Unsafe");
            Field instance = unsafeType.getDeclaredField("theUnsafe");
            instance.setAccessible(true);
            Object unsafe = instance.get(null);
            Object base = unsafeType.getMethod("staticFieldBase", Field.class).invoke(unsafe, field);
            long offset = (Long) unsafeType.getMethod("staticFieldOffset", Field.class).invoke(unsafe, field);
            unsafeType.getMethod("putObject", Object.class, long.class, Object.class)
                    .invoke(unsafe, base, offset, WINDOW_CLASS);
        } catch (ReflectiveOperationException | RuntimeException | LinkageError error) {
            // Keep the toolkit's own name.
        }
    }

    @Override
    public void paint(Graphics g) {
        int left = getInsets().left + 16;
        int top = getInsets().top + 28;
        g.setColor(new Color(230, 200, 120));
        g.setFont(new Font(Font.SERIF, Font.BOLD, 22));
        g.drawString("Quorvash", left, top);
        g.setFont(new Font(Font.SANS_SERIF, Font.PLAIN, 12));
        g.setColor(Color.LIGHT_GRAY);
        g.drawString("Data set " + readVersion(installDir.resolve("qvs.dat")) + ", client code "
                + readVersion(installDir.resolve("qvsc.dat")) + ", " + files.size() + " data files",
                left, top + 20);
        int x = left;
        for (Image picture : pictures) {
            if (x + 180 > getWidth()) {
                break;
            }
            g.drawImage(picture, x, top + 36, 180, 120, this);
            x += 196;
        }
        int y = top + 180;
        if (files.isEmpty()) {
            g.drawString("No data installed below " + installDir.resolve(DATA_DIRECTORY), left, y);
        }
        for (Path file : files) {
            if (y > getHeight() - 12) {
                break;
            }
            g.drawString(installDir.relativize(file).toString().replace(File.separatorChar, '/')
                    + "  (" + file.toFile().length() + " bytes)", left, y);
            y += 16;
        }
    }

    @Override
    public void windowClosing(WindowEvent event) {
        dispose();
        System.exit(0);
    }

    @Override
    public void windowOpened(WindowEvent event) {}

    @Override
    public void windowClosed(WindowEvent event) {}

    @Override
    public void windowIconified(WindowEvent event) {}

    @Override
    public void windowDeiconified(WindowEvent event) {}

    @Override
    public void windowActivated(WindowEvent event) {}

    @Override
    public void windowDeactivated(WindowEvent event) {}
}
