#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Installs and starts a local PostgreSQL server for the PostgreSQL tests, creates their user
# and two databases, and prints the ADUPLAN_PG value that points the tests at them.
# Run as root (or through sudo) on Debian 12.
set -e
if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive
apt-get install -y --no-install-recommends postgresql >&2
version=$(ls /etc/postgresql | sort -n | tail -n 1)
pg_ctlcluster "$version" main start >&2 2>/dev/null || pg_ctlcluster "$version" main status >&2
psql_as_postgres() { su postgres -c "psql -q -v ON_ERROR_STOP=1 -c \"$1\"" >&2; }
su postgres -c "psql -tAc \"select 1 from pg_roles where rolname = 'aduplan'\"" | grep -q 1 ||
    psql_as_postgres "create user aduplan password 'aduplan'"
for db in aduplan_decl aduplan_ncm; do
    su postgres -c "psql -tAc \"select 1 from pg_database where datname = '$db'\"" | grep -q 1 ||
        su postgres -c "createdb -O aduplan $db" >&2
done
echo "host=localhost;user=aduplan;password=aduplan;declaration=aduplan_decl;nomenclator=aduplan_ncm"
