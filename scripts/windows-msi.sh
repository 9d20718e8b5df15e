#!/usr/bin/env bash
# Builds the Windows installer dist/z5-configurator-<version>-x64.msi from the dist folder that
# scripts/windows.sh lays out: for all users into Program Files (or, with MSIINSTALLPERUSER=1, for
# the user alone), a Start-menu entry, an uninstall entry, .scd files opening in the screen
# designer. Needs wixl and msitools (Debian packages of the same names).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dist=$root/dist/z5-configurator-windows-x64
[ -x "$dist/z5-configurator.exe" ] || { echo "no Windows build: run scripts/windows.sh first" >&2; exit 2; }
version=$(sed -n 's/^project(z5configurator VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
msi=$root/dist/z5-configurator-$version-x64.msi

# wixl resolves sources relative to where it runs: everything it reads sits in one folder.
work=$(mktemp -d "${TMPDIR:-/tmp}/z5-msi.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -r "$dist" "$work/files"
cp packaging/windows/z5-configurator.wxs packaging/windows/z5-configurator.ico "$work/"
cd "$work"
find files -type f | LC_ALL=C sort |
  wixl-heat -p files/ --directory-ref INSTALLDIR --var var.SourceDir --component-group CG.files --win64 > files.wxs
wixl -a x64 -D Version="$version" -D Win64=yes -D SourceDir=files -D IconFile=z5-configurator.ico \
  -o z5.msi z5-configurator.wxs files.wxs

# The Russian names. Windows Installer keeps the tables' texts in the database's code page, so
# it is set first; "-1" is the registry root that follows the installation (HKCU for one user,
# HKLM for all), which wixl does not write.
printf '\n\n1251\t_ForceCodepage\n' > _ForceCodepage.idt
msibuild z5.msi -i _ForceCodepage.idt
msibuild z5.msi -q "UPDATE Property SET Value = 'Конфигуратор Z5' WHERE Property = 'ProductName'"
msibuild z5.msi -q "UPDATE Shortcut SET Name = 'Конфигуратор Z5', Description = 'Конфигуратор контроллера Z5' WHERE Shortcut = 'ConfiguratorShortcut'"
msibuild z5.msi -q "UPDATE \`Registry\` SET \`Value\` = 'Экран Z5' WHERE \`Key\` = 'Software\\Classes\\Z5.ScreenFile'"
msibuild z5.msi -q "UPDATE Registry SET Root = -1"
msiinfo export z5.msi Property | grep -q 'ProductName.Конфигуратор Z5' || { echo "the installer's names were not set" >&2; exit 1; }
mv z5.msi "$msi"
echo "[windows-msi] $msi: $(du -h "$msi" | cut -f1)" >&2
