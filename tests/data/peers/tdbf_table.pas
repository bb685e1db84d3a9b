{ Free Pascal TDbf as a peer of the table tests.
    tdbf_table make <rows file> <table> <level> [memo]
    tdbf_table dump <table>
  The rows file and the dump are Windows-1250 text: a line of field
  layouts ("NAZWA C 12 0", tab-separated), then one line per record:
  the deleted flag ('*' or ' '), a tab and the values, tab-separated; an
  empty value is a blank field. The dump writes <null> for a null field. }
program tdbf_table;
{$mode objfpc}{$H+}
uses SysUtils, Classes, DB, dbf;

type
  TLanguage = class
    procedure Warn(Dbf: TDbf; var Action: TDbfLanguageAction);
  end;

procedure TLanguage.Warn(Dbf: TDbf; var Action: TDbfLanguageAction);
begin
  Action := laForceANSI; { bytes as they are, no translation }
end;

var
  Language: TLanguage;

function Split(const Line: string): TStringList;
begin
  Result := TStringList.Create;
  Result.StrictDelimiter := True;
  Result.Delimiter := #9;
  Result.DelimitedText := Line;
end;

function OpenTable(const Path: string): TDbf;
begin
  Result := TDbf.Create(nil);
  Result.FilePathFull := ExtractFilePath(ExpandFileName(Path));
  Result.TableName := ExtractFileName(Path);
  Result.OnLanguageWarning := @Language.Warn;
end;

procedure AddField(T: TDbf; const Layout: string);
var
  Parts: TStringList;
  Width, Decimals: Integer;
begin
  Parts := TStringList.Create;
  Parts.Delimiter := ' ';
  Parts.DelimitedText := Layout;
  Width := StrToInt(Parts[2]);
  Decimals := StrToInt(Parts[3]);
  with T.FieldDefs.AddFieldDef do
  begin
    Name := Parts[0];
    if Parts[1] = 'C' then
      DataType := ftString
    else if (Decimals = 0) and (Width <= 4) then
      DataType := ftSmallint
    else
      DataType := ftFloat;
    Size := Width;
    Precision := Decimals;
  end;
  Parts.Free;
end;

procedure Make(const RowsPath, Path: string; Level: Integer; Memo: Boolean);
var
  Lines, Values: TStringList;
  T: TDbf;
  I, F: Integer;
  Layouts: TStringList;
begin
  Lines := TStringList.Create;
  Lines.LoadFromFile(RowsPath);
  T := OpenTable(Path);
  T.TableLevel := Level;
  T.LanguageID := $C8;
  Layouts := Split(Lines[0]);
  for F := 0 to Layouts.Count - 1 do
    AddField(T, Layouts[F]);
  if Memo then
    T.FieldDefs.Add('NOTA', ftMemo);
  T.CreateTable;
  T.Open;
  for I := 1 to Lines.Count - 1 do
  begin
    Values := Split(Lines[I]);
    T.Append;
    for F := 0 to Layouts.Count - 1 do
      if Values[F + 1] <> '' then
        if T.Fields[F].DataType = ftString then
          T.Fields[F].AsString := Values[F + 1]
        else
          T.Fields[F].AsFloat := StrToFloat(Values[F + 1]);
    if Memo then
      T.FieldByName('NOTA').AsString := 'notatka ' + IntToStr(I);
    T.Post;
    if Values[0] = '*' then
      T.Delete;
    Values.Free;
  end;
  T.Close;
  T.Free;
end;

procedure Dump(const Path: string);
var
  T: TDbf;
  F: Integer;
  Line: string;
begin
  T := OpenTable(Path);
  T.ShowDeleted := True;
  T.ReadOnly := True;
  T.Open;
  while not T.EOF do
  begin
    if T.IsDeleted then Line := '*' else Line := ' ';
    for F := 0 to T.FieldCount - 1 do
      if T.Fields[F].IsNull then
        Line := Line + #9'<null>'
      else
        Line := Line + #9 + TrimRight(T.Fields[F].AsString);
    WriteLn(Line);
    T.Next;
  end;
  T.Close;
  T.Free;
end;

begin
  DefaultFormatSettings.DecimalSeparator := '.';
  Language := TLanguage.Create;
  if ParamStr(1) = 'make' then
    Make(ParamStr(2), ParamStr(3), StrToInt(ParamStr(4)), ParamStr(5) = 'memo')
  else if ParamStr(1) = 'dump' then
    Dump(ParamStr(2))
  else
  begin
    WriteLn(StdErr, 'usage: tdbf_table make <rows> <table> <level> [memo] | dump <table>');
    Halt(2);
  end;
end.
