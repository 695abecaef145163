#!/usr/bin/env perl
# Writes the saver's icon (vistrel.ico: a 32 x 32 picture with alpha) and its
# cursor (vistrel.cur: 32 x 32, fully transparent) into the given folder.
use strict;
use warnings;

my $dir = shift or die "usage: make-icons.pl OUTPUT-DIR\n";
my $size = 32;

sub write_file {
    my ($name, $bytes) = @_;
    open(my $fh, '>:raw', "$dir/$name") or die "cannot write $dir/$name: $!\n";
    print $fh $bytes;
    close($fh) or die "cannot close $dir/$name: $!\n";
}

sub info_header {
    my ($bits, $image_bytes) = @_;
    # The height counts the colour rows and the mask rows.
    return pack('VVVvvVVVVVV', 40, $size, 2 * $size, 1, $bits, 0, $image_bytes, 0, 0, 0, 0);
}

sub distance_to_segment {
    my ($px, $py, $ax, $ay, $bx, $by) = @_;
    my ($dx, $dy) = ($bx - $ax, $by - $ay);
    my $t = (($px - $ax) * $dx + ($py - $ay) * $dy) / ($dx * $dx + $dy * $dy);
    $t = 0 if $t < 0;
    $t = 1 if $t > 1;
    my ($cx, $cy) = ($ax + $t * $dx - $px, $ay + $t * $dy - $py);
    return sqrt($cx * $cx + $cy * $cy);
}

# Icon: a disc shading from teal to violet with a white V; rows bottom-up.
my ($pixels, $mask) = ('', '');
for (my $y = $size - 1; $y >= 0; --$y) {
    my $bits = 0;
    my $row_mask = '';
    for my $x (0 .. $size - 1) {
        my ($fx, $fy) = ($x + 0.5, $y + 0.5);
        my $r = sqrt(($fx - 16) ** 2 + ($fy - 16) ** 2);
        my ($b, $g, $red, $a) = (0, 0, 0, 0);
        if ($r <= 15.5) {
            my $t = $fy / $size;
            ($red, $g, $b) = (int(30 + 120 * $t), int(170 - 110 * $t), int(190 + 50 * $t));
            $a = 255;
            my $v = distance_to_segment($fx, $fy, 8, 8, 16, 25);
            my $w = distance_to_segment($fx, $fy, 24, 8, 16, 25);
            ($red, $g, $b) = (255, 255, 255) if ($v < $w ? $v : $w) < 2.4;
        }
        $pixels .= pack('CCCC', $b, $g, $red, $a);
        $bits = ($bits << 1) | ($a ? 0 : 1);
        if ($x % 8 == 7) {
            $row_mask .= pack('C', $bits);
            $bits = 0;
        }
    }
    $mask .= $row_mask;
}
my $icon_image = info_header(32, length($pixels) + length($mask)) . $pixels . $mask;
write_file('vistrel.ico',
    pack('vvv', 0, 1, 1) . pack('CCCCvvVV', $size, $size, 0, 0, 1, 32, length($icon_image), 22) . $icon_image);

# Cursor: every pixel transparent (AND mask all ones, XOR mask all zeros);
# the hot spot is at its top-left corner.
my $row_bytes = $size / 8;
my $cursor_image = info_header(1, 2 * $size * $row_bytes)
    . pack('V2', 0x00000000, 0x00FFFFFF)
    . ("\x00" x ($size * $row_bytes))
    . ("\xFF" x ($size * $row_bytes));
write_file('vistrel.cur',
    pack('vvv', 0, 2, 1) . pack('CCCCvvVV', $size, $size, 0, 0, 0, 0, length($cursor_image), 22) . $cursor_image);
