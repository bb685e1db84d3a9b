# Perl XBase as a peer of the table tests.
#   xbase_peer.pl make <rows file> <table>
#   xbase_peer.pl dump <table>
# Rows file and dump as for tdbf_table.pas; XBase passes the Windows-1250
# bytes through untouched and gives undef for a blank number.
use strict;
use warnings;
use XBase;

sub make {
    my ($rows, $path) = @_;
    open(my $in, '<:raw', $rows) or die "$rows: $!";
    my @lines = map { s/\n$//r } <$in>;
    close $in;
    my @layouts = map { [split / /] } split /\t/, shift @lines;
    my $table = XBase->create(
        name           => $path,
        field_names    => [map { $_->[0] } @layouts],
        field_types    => [map { $_->[1] } @layouts],
        field_lengths  => [map { $_->[2] } @layouts],
        field_decimals => [map { $_->[3] } @layouts],
    ) or die XBase->errstr;
    my $n = 0;
    for my $line (@lines) {
        my ($flag, @values) = split /\t/, $line, -1;
        @values = map { $values[$_] eq '' && $layouts[$_][1] eq 'N' ? undef : $values[$_] } 0 .. $#layouts;
        $table->set_record($n, @values) or die $table->errstr;
        $table->delete_record($n) if $flag eq '*';
        $n++;
    }
    $table->close;
}

sub dump_table {
    my ($path) = @_;
    my $table = XBase->new($path) or die XBase->errstr;
    binmode STDOUT, ':raw';
    for my $n (0 .. $table->last_record) {
        my ($deleted, @values) = $table->get_record($n);
        die $table->errstr unless defined $deleted;
        print join("\t", $deleted ? '*' : ' ', map { defined $_ ? $_ : '<null>' } @values), "\n";
    }
    $table->close;
}

if ($ARGV[0] eq 'make') { make($ARGV[1], $ARGV[2]); }
else { dump_table($ARGV[1]); }
